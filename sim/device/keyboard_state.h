// The device keyboard as the IME side sees it: its layout, which keys are
// down and whether CapsLock is on, and the character a key then types.
#pragma once

#include <cstdint>

#include "engine/virtual_keys.h"
#include "sim/device/device_keyboard.h"

// Keys the engine does not name itself.
enum : uint8_t {
  kVkTab = 0x09,
  kVkSpace = 0x20,
};

struct KeyboardState {
  SimLayout layout = SimLayout::kUs;
  bool held[256] = {};
  bool capsLock = false;
};

// Records a key event: held keys, and a CapsLock press turns CapsLock over.
void keyboardKeyEvent(KeyboardState& keyboard, uint8_t vk, bool down);

bool shiftHeld(const KeyboardState& keyboard);
bool ctrlHeld(const KeyboardState& keyboard);
bool altHeld(const KeyboardState& keyboard);
bool isModifierKey(uint8_t vk);

// The ASCII character `vk` types now, Shift and CapsLock applied to letters;
// 0 when it types none, or when Ctrl or Alt make it a shortcut.
char typedCharacter(const KeyboardState& keyboard, uint8_t vk);
