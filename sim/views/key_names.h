// Readable names of virtual keys, as the simulator prints them: K, Right,
// Backspace, Shift, F8 (the keypad's *), ; for the key right of L on a US
// layout. "-" for codes no keyboard sends.
#pragma once

#include <cstdint>
#include <string>

std::string virtualKeyName(uint8_t vk);

// The key of a keypad column as printed on it: 1-9, *, 0 or #.
std::string keypadKeyName(int column);
