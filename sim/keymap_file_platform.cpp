#include "sim/keymap_file_platform.h"

#include <sys/stat.h>

#include <cstring>

KeymapFilePlatform::~KeymapFilePlatform() {
  closeKeymapFile();
}

bool KeymapFilePlatform::openKeymapFile(const std::string& pathUtf8, uint32_t& size) {
  closeKeymapFile();
  struct stat info {};
  // Only regular files: a folder opens but cannot be read as text.
  if (stat(pathUtf8.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return false;
  if (info.st_size < 0 || static_cast<unsigned long long>(info.st_size) > 0xFFFFFFF0ull) {
    return false;
  }
  file_ = std::fopen(pathUtf8.c_str(), "rb");
  if (file_ == nullptr) return false;
  size = static_cast<uint32_t>(info.st_size);
  return true;
}

bool KeymapFilePlatform::readKeymapFile(uint8_t* buffer, uint32_t size) {
  if (file_ == nullptr) return false;
  return std::fread(buffer, 1, size, file_) == size;
}

void KeymapFilePlatform::closeKeymapFile() {
  if (file_ != nullptr) std::fclose(file_);
  file_ = nullptr;
}

std::string formatKeymapMessage(const std::string& file, const std::string& text) {
  static const char kLineMark[] = "行:";
  size_t digits = 0;
  while (digits < text.size() && text[digits] >= '0' && text[digits] <= '9') ++digits;
  if (digits > 0 && text.compare(digits, std::strlen(kLineMark), kLineMark) == 0) {
    return file + ":" + text.substr(0, digits) + ": " + text;
  }
  return file + ": " + text;
}
