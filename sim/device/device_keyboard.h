// The emulated device keyboard: which character a virtual key types on the
// chosen layout, a US keyboard or a Japanese (JIS 106/109) one as Windows
// maps its keys, and the full-width form a Japanese IME gives a character.
#pragma once

#include <cstdint>
#include <string>

#include "engine/platform.h"

enum class SimLayout {
  kUs,
  kJis,  // @ right of P, : right of ;, " on Shift+2, \ on the yen and ro keys
};

// The ASCII character that `vk` types on `layout` with the given Shift
// state, or 0 when the key types nothing (modifiers, arrows, function keys).
// Letters come out in lower case; the caller applies Shift and CapsLock to
// them. The number pad and the device keypad's * and # keys (VK_F8, VK_F9)
// type their own characters on both layouts.
char layoutCharacter(SimLayout layout, uint8_t vk, bool shift);

// A main key of a layout and its Shift state; vk 0 for none.
struct LayoutStroke {
  uint8_t vk = 0;
  bool shift = false;
};

// The main key (not the number pad nor the keypad's * and #) that types `c`
// on `layout`, a capital letter with Shift.
LayoutStroke layoutStrokeFor(SimLayout layout, char c);

// The engine's view of the emulated keyboard: the key of each character.
struct SimKeyboardLayout final : KeyboardLayout {
  SimLayout layout = SimLayout::kUs;
  LayoutKey keyForCharacter(char16_t character) override;
};

// What an open IME in hiragana mode puts into the composition for a typed
// character on its own: the Japanese punctuation of , . / - [ ] (、。・ー「」),
// ￥ for the yen/backslash key, the typographic quotes ’ ” and 〜 for ~, else
// the full-width form (UTF-8).
std::string imeFullWidthForm(char c);
