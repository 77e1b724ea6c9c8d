// Shared set-up of the benchmark programs: the cases measured on the engine
// on the default keymap (DefaultKeymapEngine, from the test support), and
// keymap texts for the compiler.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/engine_state.h"
#include "keymap/keymap_platform.h"
#include "tests/support/default_keymap_engine.h"

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
void prepareCase(DefaultKeymapEngine& bench, BenchCase which);
// Handles one event of the case (including the cheap per-event set-up the
// case needs to stay in a steady state).
bool runCaseEvent(DefaultKeymapEngine& bench, BenchCase which, uint32_t& time);

// A generated keymap file of about `bytes` bytes: 1024 symbols, many keymaps,
// long char lists written with symbols.
std::string generateLargeKeymap(size_t bytes);

// One pass over the text that only splits it into lines (the baseline).
size_t countLines(const std::string& text);
