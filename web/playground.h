// The page's simulated device: the engine, the compiler and the emulated
// keyboard and IME behind the web page, with the keymap last compiled
// without errors and the key stream since the page last asked. Every answer
// is JSON text for the page to draw.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "sim/device/sim_device.h"

class Playground {
 public:
  // What the page's controls are, in the settings dialogs' words: the input
  // modes (radio buttons) with their bits, the options it offers with their
  // bits, the option of the msec field, the defaults, and the pad's keys
  // with their labels and virtual keys (the keypad's 12, then → and クリア).
  static std::string controls();

  // Starts a fresh device with `keymapText`, the settings and the IME state;
  // the answer is what keymap() answers.
  std::string start(const std::string& keymapText, uint32_t options, int32_t timeoutMs, bool imeOn);

  // Checks `keymapText` as `check` does: {"clean", "inUse", "lines": [{"line",
  // "text"}]}, lines in check's order with the editor line each points at (0
  // for none). Text without errors becomes the keymap in use, as "Keymap読込"
  // loads it; text with errors leaves the last good keymap in use.
  std::string keymap(const std::string& keymapText);

  // The settings dialog's options and timeout; the answer is state().
  std::string settings(uint32_t options, int32_t timeoutMs);

  // One key event at `timeMs` (the page's clock); the answer is state().
  std::string key(uint8_t vk, bool down, uint32_t timeMs);

  // The user's IME key: the IME on or off ("IME切換" switches it over); the
  // answer is state().
  std::string ime(bool on);

  // The test field emptied, as a user selects it all and deletes it.
  std::string clearText();

  // What the page shows: the text and the composition, the input state in
  // the program's words and the events since the last answer, each line as
  // `type --events` prints it (a window command right after the key that
  // posted it).
  std::string state();

  // For each pad key, what the actions of its key in the active slot type.
  std::string padLabels();

  // The keymap in use as `table` prints slot `slot`.
  std::string table(int slot);

 private:
  void record(const std::string& line) { events_.push_back(line); }
  // A fresh device started with settings_, its events recorded.
  void startDevice();

  std::unique_ptr<SimDevice> device_ = std::make_unique<SimDevice>();
  SimSettings settings_;
  std::vector<std::string> events_;
};
