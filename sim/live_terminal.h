// `padquiltkana-sim live`: the simulated device in an interactive terminal.
#pragma once

#include <string>

#include "sim/sim_device.h"

// The input state in one line: active slot, IME, running toggle, pending
// first stroke and the char list that post-conversion would step.
std::string describeInputState(const SimDevice& device);

// The keypad key that a terminal key stands for, or 0: digits, * and # as
// the keypad, Backspace/Delete as the clear key (VK_BACK).
uint8_t liveVirtualKey(char key);

// Runs until q or the end of input; returns the exit code.
int runLive(SimDevice& device, const std::string& keymapPath);
