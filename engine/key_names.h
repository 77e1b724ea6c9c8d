// The one table of key names: how the simulator's listings and dumps, its
// live screen and keymap tables, and the test printers name a virtual key.
// Letters and digits are themselves, the number pad Num0-Num9, the function
// keys F1-F24 (F8 and F9 are the keypad's * and #), the rest by the table:
// Backspace, Right, Shift, ; for the key right of L on a US layout.
#pragma once

#include <cstdint>
#include <string>

// The key's name, or "-" for a code that no keyboard sends.
std::string virtualKeyName(uint8_t vk);

// The key's name, or its code in hex ("0x07") when it has none: every key
// stays told apart.
std::string virtualKeyNameOrHex(uint8_t vk);

// The key as a table shows it to a person: the arrow keys as ← ↑ → ↓ (as
// the manual's tables have them), every other key by virtualKeyNameOrHex.
std::string virtualKeyLabel(uint8_t vk);

// The key of a keypad column as printed on it: 1-9, *, 0 or #.
std::string keypadKeyName(int column);
