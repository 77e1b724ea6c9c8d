// The keymap compiler's platform on Linux: files through the C library, and
// messages collected (UTF-8, exactly the text the device's message box
// shows) instead of shown.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "keymap/keymap_platform.h"

struct KeymapFilePlatform final : KeymapPlatform {
  KeymapFilePlatform() = default;
  KeymapFilePlatform(const KeymapFilePlatform&) = delete;
  KeymapFilePlatform& operator=(const KeymapFilePlatform&) = delete;
  ~KeymapFilePlatform();

  bool openKeymapFile(const std::string& pathUtf8, uint32_t& size) override;
  bool readKeymapFile(uint8_t* buffer, uint32_t size) override;
  void closeKeymapFile() override;
  void showKeymapMessage(const std::string& textUtf8) override { messages.push_back(textUtf8); }

  std::vector<std::string> messages;

 private:
  std::FILE* file_ = nullptr;
};

// A compiler message as a diagnostic line: "FILE:LINE: TEXT" when the text
// begins with its line number ("12行:..."), else "FILE: TEXT".
std::string formatKeymapMessage(const std::string& file, const std::string& text);
