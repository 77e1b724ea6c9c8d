// The compiler's platform on the host: files through the C library, the
// messages shown collected as UTF-8 and, if asked, printed one per line, and
// every diagnostic kept.
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
  void noteKeymapDiagnostic(const KeymapDiagnostic& diagnostic) override;

  // Every message shown so far, in order.
  const std::vector<std::string>& messages() const { return messages_; }
  // Every diagnostic noted so far, shown or not, in order.
  const std::vector<KeymapDiagnostic>& diagnostics() const { return diagnostics_; }
  void clearMessages() {
    messages_.clear();
    diagnostics_.clear();
  }

 private:
  std::FILE* file_ = nullptr;
  bool tooLarge_ = false;
  std::FILE* echo_ = nullptr;
  std::vector<std::string> messages_;
  std::vector<KeymapDiagnostic> diagnostics_;
};
