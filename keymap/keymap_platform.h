// How the keymap compiler reaches the file system and the user. The Win32
// shell reads with CreateFileW/ReadFile and shows message boxes; the host
// reads with the C++ library and collects or prints the messages.
#pragma once

#include <cstdint>
#include <string>

#include "keymap/keymap_diagnostic.h"

struct KeymapPlatform {
  // Opens the file for reading, only if it exists; sets its size in bytes.
  // False when it cannot be opened.
  virtual bool openKeymapFile(const std::string& pathUtf8, uint32_t& size) = 0;
  // Reads exactly `size` bytes of the open file; false when the read fails.
  virtual bool readKeymapFile(uint8_t* buffer, uint32_t size) = 0;
  virtual void closeKeymapFile() = 0;
  // Shows one message (UTF-8, already prefixed with its line number) and
  // returns once the user has seen it.
  virtual void showKeymapMessage(const std::string& textUtf8) = 0;
  // Every message of a load, shown or not, in order. The program has no use
  // for them; checkers list them.
  virtual void noteKeymapDiagnostic(const KeymapDiagnostic&) {}

 protected:
  ~KeymapPlatform() = default;
};
