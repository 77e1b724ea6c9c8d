#include "sim/device/keyboard_state.h"

#include "engine/key_event.h"
#include "sim/device/device_keyboard.h"

void keyboardKeyEvent(KeyboardState& keyboard, uint8_t vk, bool down) {
  if (down && vk == kVkCapital) keyboard.capsLock = !keyboard.capsLock;
  keyboard.held[vk] = down;
}

bool shiftHeld(const KeyboardState& keyboard) {
  return keyboard.held[kVkShift] || keyboard.held[kVkLeftShift] || keyboard.held[kVkRightShift];
}

bool ctrlHeld(const KeyboardState& keyboard) {
  return keyboard.held[kVkControl] || keyboard.held[kVkLeftControl] ||
         keyboard.held[kVkRightControl];
}

bool altHeld(const KeyboardState& keyboard) {
  return keyboard.held[kVkMenu] || keyboard.held[kVkLeftMenu] || keyboard.held[kVkRightMenu];
}

bool isModifierKey(uint8_t vk) {
  return vk == kVkShift || vk == kVkControl || vk == kVkMenu ||
         (vk >= kVkLeftShift && vk <= kVkRightMenu);
}

char typedCharacter(const KeyboardState& keyboard, uint8_t vk) {
  if (ctrlHeld(keyboard) || altHeld(keyboard)) return 0;
  const bool shift = shiftHeld(keyboard);
  const char c = layoutCharacter(keyboard.layout, vk, shift);
  if (c >= 'a' && c <= 'z' && shift != keyboard.capsLock) return static_cast<char>(c - 'a' + 'A');
  return c;
}
