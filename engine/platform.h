// The engine's only ways out to the platform: key injection, the IME and the
// main window's command queue. Each platform (Win32, Windows CE, the Linux
// simulator, tests) supplies its own implementations.
#pragma once

#include <cstdint>

// Scan code of the own-event marker that the platform puts on every injected
// event.
constexpr uint32_t kOwnEventScanCode = 1;

// Injects key events. Every event carries the own-event marker (scan code 1,
// extra information 11) so that it passes the hook untouched when it returns.
struct KeyOutput {
  virtual void sendKeyDown(uint8_t vk) = 0;
  virtual void sendKeyUp(uint8_t vk) = 0;

 protected:
  ~KeyOutput() = default;
};

// Access to the IME of the focused input context. Every call takes and
// releases its own context; a context that cannot be had reads as a closed
// IME without composition.
struct ImeControl {
  virtual bool isOpen() = 0;
  virtual uint32_t conversionMode() = 0;
  virtual void setOpen(bool open) = 0;
  virtual void setConversionMode(uint32_t conversion, uint32_t sentence) = 0;
  // Characters of the composition string; non-zero while a composition is
  // open.
  virtual uint32_t compositionLength() = 0;

 protected:
  ~ImeControl() = default;
};

// Window commands the engine posts to the main window (WM_COMMAND).
enum : uint32_t {
  kCommandRunProgram = 30000,    // param: address of an exec record's program path
  kCommandRotateScreen = 30001,  // param: rotation request 0-255
  kCommandQuit = 30002,          // posted by a second instance, never by the engine
};

// Receives the engine's window commands. Posting is fire-and-forget: the
// receiver carries the command out later, outside the key hook.
struct WindowCommandSink {
  virtual void postWindowCommand(uint32_t command, uintptr_t param) = 0;

 protected:
  ~WindowCommandSink() = default;
};
