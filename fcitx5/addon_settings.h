// The add-on's settings as plain values, and what they mean to the engine:
// its option bits, its timeout and the keymap file to load.
#pragma once

#include <cstdint>
#include <string>

#include "engine/engine_state.h"

enum class InputModeSetting { None, KanaToggle, TwoTouch };

// Defaults are the Windows program's, except that the add-on starts in kana
// toggle mode (whoever enables it means to type with the keypad) and with
// the numeric keypad as the keypad (a PC's digit row types digits).
struct AddonSettings {
  InputModeSetting inputMode = InputModeSetting::KanaToggle;
  bool autoAdvance = false;
  int32_t timeoutMs = kDefaultTimeoutMs;
  bool advanceAfterStep = false;
  bool autoCapsLock = true;
  bool nicoTouch = false;
  bool imeControl = false;
  bool clearCancelsStroke = true;
  bool numericKeypad = true;
  // Empty: the default keymap beside the add-on.
  std::string keymapPath;
};

// The option bits the settings set. The Ctrl/CapsLock and Esc/half-width
// swaps and the screen rotation belong to Windows and stay off.
uint32_t engineOptionsOf(const AddonSettings& settings);

// The keymap file to load: the default keymap in `dataFolder` for an empty
// path, the path itself when absolute, else a path in the home folder ("~/"
// may begin it).
std::string keymapFileOf(const AddonSettings& settings, const std::string& homeFolder,
                         const std::string& dataFolder);

// The default keymap's file name, in the add-on's data folder.
constexpr const char* kDefaultKeymapName = "defaultkeymap.txt";
