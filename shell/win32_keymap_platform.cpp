#include "shell/win32_keymap_platform.h"

#include "shell/program_messages.h"
#include "shell/utf8_text.h"

Win32KeymapPlatform::~Win32KeymapPlatform() {
  closeKeymapFile();
}

bool Win32KeymapPlatform::openKeymapFile(const std::string& pathUtf8, uint32_t& size) {
  closeKeymapFile();
  std::wstring path = wideFromUtf8(pathUtf8);
  file_ = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                      FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file_ == INVALID_HANDLE_VALUE) return false;
  DWORD high = 0;
  DWORD low = GetFileSize(file_, &high);
  // A size beyond 32 bits (or none) makes the read fail, reported as such.
  sizeUnknown_ = high != 0 || (low == INVALID_FILE_SIZE && GetLastError() != NO_ERROR);
  size = sizeUnknown_ ? 0 : low;
  return true;
}

bool Win32KeymapPlatform::readKeymapFile(uint8_t* buffer, uint32_t size) {
  if (file_ == INVALID_HANDLE_VALUE || sizeUnknown_) return false;
  DWORD read = 0;
  return ReadFile(file_, buffer, size, &read, nullptr) && read == size;
}

void Win32KeymapPlatform::closeKeymapFile() {
  if (file_ != INVALID_HANDLE_VALUE) CloseHandle(file_);
  file_ = INVALID_HANDLE_VALUE;
  sizeUnknown_ = false;
}

void Win32KeymapPlatform::showKeymapMessage(const std::string& textUtf8) {
  std::wstring text = wideFromUtf8(textUtf8);
  show_(owner_, text.c_str());
}

void Win32KeymapPlatform::showMessageBox(HWND owner, const wchar_t* text) {
  showProgramMessage(owner, text);
}
