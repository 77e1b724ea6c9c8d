#include "keymap/host_keymap_platform.h"

HostKeymapPlatform::~HostKeymapPlatform() {
  closeKeymapFile();
}

bool HostKeymapPlatform::openKeymapFile(const std::string& pathUtf8, uint32_t& size) {
  closeKeymapFile();
  file_ = std::fopen(pathUtf8.c_str(), "rb");
  if (file_ == nullptr) return false;
  long length = -1;
  if (std::fseek(file_, 0, SEEK_END) == 0) length = std::ftell(file_);
  std::rewind(file_);
  // A size that a 32-bit field cannot hold (or none at all, as for a folder)
  // makes the read fail, which the compiler reports as a read error.
  tooLarge_ = length < 0 || static_cast<unsigned long>(length) > UINT32_MAX;
  size = tooLarge_ ? 0 : static_cast<uint32_t>(length);
  return true;
}

bool HostKeymapPlatform::readKeymapFile(uint8_t* buffer, uint32_t size) {
  if (file_ == nullptr || tooLarge_) return false;
  // An empty file reads as empty; something that only looks empty (a
  // folder) fails here.
  if (size == 0) return std::fgetc(file_) == EOF && std::ferror(file_) == 0;
  return std::fread(buffer, 1, size, file_) == size;
}

void HostKeymapPlatform::closeKeymapFile() {
  if (file_ != nullptr) std::fclose(file_);
  file_ = nullptr;
  tooLarge_ = false;
}

void HostKeymapPlatform::showKeymapMessage(const std::string& textUtf8) {
  messages_.push_back(textUtf8);
  if (echo_ != nullptr) std::fprintf(echo_, "%s\n", textUtf8.c_str());
}

void HostKeymapPlatform::noteKeymapDiagnostic(const KeymapDiagnostic& diagnostic) {
  diagnostics_.push_back(diagnostic);
}
