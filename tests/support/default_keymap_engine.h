// The engine on the default keymap with platform stand-ins that only count
// and never allocate, connected as on desktop Windows (a keyboard layout and
// the system's key state too): the allocation test proves the key path
// allocates nothing on it, and the benchmarks measure it.
#pragma once

#include <cstdint>

#include "engine/engine_state.h"

// Injects nothing; only counts, so a run can show that it typed.
struct NullKeyOutput final : KeyOutput {
  unsigned long events = 0;
  void sendKeyDown(uint8_t) override { ++events; }
  void sendKeyUp(uint8_t) override { ++events; }
};

// Open in hiragana mode unless told otherwise; counts every call, since on
// the device each one crosses into the IME's process from inside the hook.
struct CountingIme final : ImeControl {
  bool open = true;
  unsigned long calls = 0;
  ImeAnswer openStatus() override {
    ++calls;
    return imeAnswered(open ? 1 : 0);
  }
  ImeAnswer conversionStatus() override {
    ++calls;
    return imeAnswered(open ? 25 : 0);
  }
  void setOpen(bool value) override {
    ++calls;
    open = value;
  }
  void setConversionMode(uint32_t, uint32_t) override { ++calls; }
  uint32_t compositionLength() override {
    ++calls;
    return 1;
  }
};

// A US layout: the key of each character is the one that types it there.
struct UsKeyboardLayout final : KeyboardLayout {
  unsigned long calls = 0;
  LayoutKey keyForCharacter(char16_t character) override;
};

// The system holds every key the engine believes held.
struct AgreeingKeyState final : SystemKeyState {
  unsigned long calls = 0;
  bool isKeyDown(uint8_t) override {
    ++calls;
    return true;
  }
};

// data/defaultkeymap.txt of the source tree compiled into the engine's
// slots (its messages, if any, go to stderr), default options.
struct DefaultKeymapEngine {
  EngineState engine;
  NullKeyOutput output;
  CountingIme ime;
  UsKeyboardLayout layout;
  AgreeingKeyState keyState;
  DefaultKeymapEngine();
  ~DefaultKeymapEngine();
  DefaultKeymapEngine(const DefaultKeymapEngine&) = delete;
  DefaultKeymapEngine& operator=(const DefaultKeymapEngine&) = delete;
};
