// The emulated device keyboard: which character a virtual key types on a US
// layout, and the full-width form a Japanese IME gives a character.
#pragma once

#include <cstdint>
#include <string>

// The ASCII character that `vk` types with the given Shift state, or 0 when
// the key types nothing (modifiers, arrows, function keys). Letters come out
// in lower case; the caller applies Shift and CapsLock to them. The keypad's
// * and # keys (VK_F8, VK_F9 on the device) type their own characters.
char usLayoutCharacter(uint8_t vk, bool shift);

// What an open IME in hiragana mode puts into the composition for a typed
// character on its own: the Japanese punctuation of , . / - [ ] (、。・ー「」),
// ￥ for the yen/backslash key, the typographic quotes ’ ” and 〜 for ~, else
// the full-width form (UTF-8).
std::string imeFullWidthForm(char c);
