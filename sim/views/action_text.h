// What a keymap action or a character entry types, as the user reads it:
// the engine's own typing run on a scratch engine into the emulated IME,
// with the IME on or off and IME control as given. The dakuten and
// handakuten keys show as ゛ and ゜, a nop as -, a raw sequence that types
// no text as the names of its keys.
#pragma once

#include <cstdint>
#include <string>

std::string charEntryText(uint8_t modifier, uint8_t vk, bool imeOn, uint32_t options);
std::string actionText(const uint8_t* record, bool imeOn, uint32_t options);
