// The device keyboard as the IME side sees it: which keys are down and
// whether CapsLock is on, and the character a key then types on a US layout.
#pragma once

#include <cstdint>

// Keys the engine does not name itself.
enum : uint8_t {
  kVkTab = 0x09,
  kVkReturn = 0x0D,
  kVkMenu = 0x12,
  kVkSpace = 0x20,
  kVkLeftShift = 0xA0,
  kVkRightShift = 0xA1,
  kVkLeftControl = 0xA2,
  kVkRightControl = 0xA3,
  kVkRightMenu = 0xA5,
};

struct KeyboardState {
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
