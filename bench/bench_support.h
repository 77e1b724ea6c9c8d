// Shared set-up of the benchmark programs: an engine on the default keymap
// with platform stand-ins that do nothing.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/engine_state.h"
#include "keymap/keymap_platform.h"

// Injects nothing; only counts, so a run can show that the case typed.
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
  bool isOpen() override {
    ++calls;
    return open;
  }
  uint32_t conversionMode() override {
    ++calls;
    return open ? 25 : 0;
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

// Serves a buffer as the keymap file; messages are kept.
struct BufferKeymapPlatform final : KeymapPlatform {
  const std::string* text = nullptr;
  std::vector<std::string> messages;
  bool openKeymapFile(const std::string&, uint32_t& size) override;
  bool readKeymapFile(uint8_t* buffer, uint32_t size) override;
  void closeKeymapFile() override {}
  void showKeymapMessage(const std::string& message) override { messages.push_back(message); }
};

std::string readProjectFile(const std::string& relativePath);

// Compiles `text` into the engine's slots; returns the messages it showed.
std::vector<std::string> compileText(EngineState& engine, const std::string& text);

struct BenchEngine {
  EngineState engine;
  NullKeyOutput output;
  CountingIme ime;
  BenchEngine();  // default keymap, kana toggle mode with the IME open
  ~BenchEngine();
  BenchEngine(const BenchEngine&) = delete;
  BenchEngine& operator=(const BenchEngine&) = delete;
};

// Engine events of the measured cases.
enum class BenchCase {
  kPassThrough,       // no input mode: a letter key
  kUnmappedInToggle,  // kana toggle mode: a letter key
  kTogglePress,       // kana toggle mode: keypad 2 typing か (two keys)
  kSecondStroke,      // 2-touch: the second key of a pair
  kPostConversion,    // kana toggle mode: * stepping か -> が -> か
  kOrdinaryTyping,    // kana toggle mode: letters and space, each event a key-down or key-up
  kKeypadPress,       // kana toggle mode: keypad 2 down and up, typing か (two events)
};

// Puts the engine into the state before the case's event.
void prepareCase(BenchEngine& bench, BenchCase which);
// Handles one event of the case (including the cheap per-event set-up the
// case needs to stay in a steady state).
bool runCaseEvent(BenchEngine& bench, BenchCase which, uint32_t& time);

// A generated keymap file of about `bytes` bytes: 1024 symbols, many keymaps,
// long char lists written with symbols.
std::string generateLargeKeymap(size_t bytes);

// One pass over the text that only splits it into lines (the baseline).
size_t countLines(const std::string& text);
