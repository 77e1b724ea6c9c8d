// The engine's only ways out to the platform: key injection, the IME, the
// system's key state, the foreground keyboard layout and the main window's
// command queue. Each platform (Win32, Windows CE, the Linux simulator,
// tests) supplies its own implementations.
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

// One answer of the IME. `known` is false when the question went unanswered
// (no IME window or context, a failed call, no answer in time): `value` then
// means nothing, and the engine keeps what it knew before instead of taking
// the IME for closed.
struct ImeAnswer {
  bool known = false;
  uint32_t value = 0;
};

constexpr ImeAnswer imeAnswered(uint32_t value) {
  return {true, value};
}
constexpr ImeAnswer kImeUnanswered = {};

// Access to the IME of the focused input context. Every call takes and
// releases its own context.
struct ImeControl {
  // 1 while the IME is open, 0 while it is closed.
  virtual ImeAnswer openStatus() = 0;
  // The conversion mode: IME_CMODE_* bits (1 native, 8 full shape, 0x10
  // roman input).
  virtual ImeAnswer conversionStatus() = 0;
  virtual void setOpen(bool open) = 0;
  virtual void setConversionMode(uint32_t conversion, uint32_t sentence) = 0;
  // Characters of the composition string; non-zero while a composition is
  // open. 0 when it cannot be read (desktop Windows, another process).
  virtual uint32_t compositionLength() = 0;

 protected:
  ~ImeControl() = default;
};

// The keys the system itself holds down now, whatever became of their events
// on the way (on desktop Windows GetAsyncKeyState: a key injected down counts,
// a key whose events the hook swallowed does not). Before it acts on a keypad
// key-down the engine drops from its records of held keys every key the
// system no longer holds: key-ups that never reached the hook (the secure
// desktop, an elevated window, the hook removed for a while) would otherwise
// leave Shift or Ctrl held for ever and the keypad dead.
struct SystemKeyState {
  virtual bool isKeyDown(uint8_t vk) = 0;

 protected:
  ~SystemKeyState() = default;
};

// Modifier bits of a LayoutKey, as VkKeyScanExW puts them in its high byte.
enum LayoutShiftBits : uint8_t {
  kLayoutShift = 1,
  kLayoutCtrl = 2,
  kLayoutAlt = 4,
};

// A key of a keyboard layout and the modifiers it is pressed with to type a
// character.
struct LayoutKey {
  bool found = false;  // false: the layout has no key for the character
  uint8_t vk = 0;
  uint8_t shiftState = 0;  // LayoutShiftBits
};

// The keyboard layout of the window the keys go to (on desktop Windows the
// layout of the foreground window's thread). The engine means its direct
// characters as a US keyboard types them and asks here which key types each
// of them where the keys go. It types only keys that need Shift or nothing
// else; a character that needs Ctrl or Alt (AltGr), or that the layout has no
// key for, is passed over.
struct KeyboardLayout {
  // The key for `character` (printable ASCII). A dead key of the layout
  // counts as no key: pressing it would wait for the next character.
  virtual LayoutKey keyForCharacter(char16_t character) = 0;

 protected:
  ~KeyboardLayout() = default;
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
