// Low-level key events as the platform hands them to the engine.
#pragma once

#include <cstdint>

// Window messages of low-level key events.
enum KeyMessage : uint32_t {
  kMessageKeyDown = 256,     // WM_KEYDOWN
  kMessageKeyUp = 257,       // WM_KEYUP
  kMessageSysKeyDown = 260,  // WM_SYSKEYDOWN
  kMessageSysKeyUp = 261,    // WM_SYSKEYUP
};

inline bool isKeyPress(uint32_t message) {
  return message == kMessageKeyDown || message == kMessageSysKeyDown;
}

inline bool isKeyRelease(uint32_t message) {
  return message == kMessageKeyUp || message == kMessageSysKeyUp;
}

// One key event. Whether the program injected it itself is the platform's
// call, made from whatever mark the platform lets it put on its events; the
// engine lets such events pass untouched.
struct IncomingKeyEvent {
  uint32_t vk = 0;       // virtual key; only 0-255 are keys the engine knows
  uint32_t message = 0;  // a KeyMessage, or anything else the platform sends
  uint32_t time = 0;     // time stamp in milliseconds
  bool own = false;      // one of the program's own injected events
  // Typed where keys mean themselves (the program's own fields): the keypad
  // does not convert it, while the swaps and the record of held keys apply.
  bool asTyped = false;
};
