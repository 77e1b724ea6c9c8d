// The compiler's platform on the host: files through the C library, messages
// collected as UTF-8 and, if asked, printed one per line.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "keymap/keymap_platform.h"

class HostKeymapPlatform final : public KeymapPlatform {
 public:
  // Messages are printed to `echo` as well when it is not null.
  explicit HostKeymapPlatform(std::FILE* echo = nullptr) : echo_(echo) {}
  ~HostKeymapPlatform();
  HostKeymapPlatform(const HostKeymapPlatform&) = delete;
  HostKeymapPlatform& operator=(const HostKeymapPlatform&) = delete;

  bool openKeymapFile(const std::string& pathUtf8, uint32_t& size) override;
  bool readKeymapFile(uint8_t* buffer, uint32_t size) override;
  void closeKeymapFile() override;
  void showKeymapMessage(const std::string& textUtf8) override;

  // Every message shown so far, in order.
  const std::vector<std::string>& messages() const { return messages_; }
  void clearMessages() { messages_.clear(); }

 private:
  std::FILE* file_ = nullptr;
  bool tooLarge_ = false;
  std::FILE* echo_ = nullptr;
  std::vector<std::string> messages_;
};
