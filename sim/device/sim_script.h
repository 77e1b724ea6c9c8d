// The `type` command's script: blank-separated tokens of keypad presses,
// waits and IME switches.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "sim/device/sim_device.h"

enum class ScriptStepKind {
  kPress,   // press and release a virtual key
  kWait,    // let milliseconds pass
  kImeOn,   // switch the IME on
  kImeOff,  // switch the IME off
};

struct ScriptStep {
  ScriptStepKind kind;
  uint32_t value;  // the virtual key, or the milliseconds
};

// Virtual key of a keypad key character 0-9 * #, or 0 for any other.
uint8_t keypadVirtualKey(char key);

// Tokens: each of 1-9 * 0 # is a keypad press, > a right-arrow press and C a
// clear-key (VK_BACK) press, several in one token; +N waits N ms; vk:HH
// presses virtual key 0xHH; ime:on and ime:off switch the IME. Returns false
// with a message naming the first bad token.
bool parseScript(const std::vector<std::string>& tokens, std::vector<ScriptStep>& steps,
                 std::string& error);

void runScript(SimDevice& device, const std::vector<ScriptStep>& steps);
