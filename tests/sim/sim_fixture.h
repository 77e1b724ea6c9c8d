// Runs keypad scripts on the default keymap through the real engine and the
// emulated IME.
//
// How to write a test here: what a keymap types is asserted as the text a
// user sees, typed(kKanaToggleMode, true, "2 *") == "が", never as key
// events. Rules of the engine itself belong in tests/engine, of the keymap
// format in tests/keymap: each rule is tested at one layer.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "sim/device/sim_device.h"
#include "sim/device/sim_script.h"
#include "tests/support/test_doubles.h"

inline std::string sourcePath(const std::string& relative) {
  const char* root = std::getenv("PQK_SOURCE_DIR");
  return std::string(root != nullptr ? root : ".") + "/" + relative;
}

inline std::string defaultKeymapFile() {
  return sourcePath("data/defaultkeymap.txt");
}

// Default options with each input mode.
constexpr uint32_t kKanaToggleMode = kDefaultOptions | kOptionKanaToggle;
constexpr uint32_t kTwoTouchMode = kDefaultOptions | kOptionTwoTouch;
constexpr uint32_t kNicoTouchMode = kTwoTouchMode | kOptionNicoTouch;

// Splits a script at blanks.
inline std::vector<std::string> scriptTokens(const std::string& script) {
  std::vector<std::string> tokens;
  std::string token;
  for (char c : script + " ") {
    if (c != ' ') {
      token += c;
    } else if (!token.empty()) {
      tokens.push_back(token);
      token.clear();
    }
  }
  return tokens;
}

// Starts a device on the default keymap; fails the test on any keymap message.
inline void startDevice(SimDevice& device, uint32_t options, bool imeOn,
                        bool screenRotated = false) {
  SimSettings settings;
  settings.keymapPath = defaultKeymapFile();
  settings.options = options;
  settings.imeOn = imeOn;
  settings.screenRotated = screenRotated;
  const std::vector<std::string> messages = device.start(settings);
  for (const std::string& message : messages) ADD_FAILURE() << message;
}

// Events as the keys they are ("+Up -Up"), as engine tests print them.
inline std::string describe(const std::vector<SimEvent>& events) {
  Events keys;
  for (const SimEvent& event : events) keys.push_back({event.down, event.vk});
  return describe(keys);
}

inline void play(SimDevice& device, const std::string& script) {
  std::vector<ScriptStep> steps;
  std::string error;
  if (!parseScript(scriptTokens(script), steps, error)) {
    ADD_FAILURE() << error;
    return;
  }
  runScript(device, steps);
}

// The text a user sees after `script` on a fresh device.
inline std::string typed(uint32_t options, bool imeOn, const std::string& script) {
  SimDevice device;
  startDevice(device, options, imeOn);
  play(device, script);
  return device.text();
}
