// The window messages of the low-level key events the engine is handed.
#pragma once

#include <cstdint>

enum KeyMessage : uint32_t {
  kMessageKeyDown = 256,     // WM_KEYDOWN
  kMessageKeyUp = 257,       // WM_KEYUP
  kMessageSysKeyDown = 260,  // WM_SYSKEYDOWN
  kMessageSysKeyUp = 261,    // WM_SYSKEYUP
};
