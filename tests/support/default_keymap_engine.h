// The engine on the default keymap with platform stand-ins that only count
// and never allocate: the allocation test proves the key path allocates
// nothing on it, and the benchmarks measure it.
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

// data/defaultkeymap.txt of the source tree compiled into the engine's
// slots (its messages, if any, go to stderr), default options.
struct DefaultKeymapEngine {
  EngineState engine;
  NullKeyOutput output;
  CountingIme ime;
  DefaultKeymapEngine();
  ~DefaultKeymapEngine();
  DefaultKeymapEngine(const DefaultKeymapEngine&) = delete;
  DefaultKeymapEngine& operator=(const DefaultKeymapEngine&) = delete;
};
