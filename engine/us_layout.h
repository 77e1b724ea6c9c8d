// The characters of a US keyboard layout. A keymap's direct characters, and
// the punctuation keys inside the kana table's key sequences, mean what these
// keys type on a US layout, whatever layout the keys are typed on.
#pragma once

#include <cstdint>

// The printable ASCII character `vk` types on a US layout with the given
// Shift state (letters in upper case with Shift, in lower case without), or
// 0 for a key that types no character there (Enter, arrows, the number pad,
// modifiers).
char usLayoutCharacter(uint8_t vk, bool shift);
