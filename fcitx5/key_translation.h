// Virtual keys and the key symbols of fcitx5 and X, both ways, for a US PC
// keyboard as the simulator assumes one: what key a user's key event is to
// the engine, and what key event an injected virtual key becomes.
#pragma once

#include <cstdint>

// Key state bits as fcitx5 carries them with every key event.
enum KeyStateBits : uint32_t {
  kStateShift = 1u << 0,
  kStateCapsLock = 1u << 1,
  kStateCtrl = 1u << 2,
  kStateAlt = 1u << 3,
  kStateNumLock = 1u << 4,
};

// Stands for every key symbol that names no virtual key of its own: the
// engine passes such keys as any unmapped key.
constexpr uint8_t kVkUnknownKey = 0xFF;

// The virtual key of a key symbol, as the label on the key says: the numeric
// keypad's digits are VK_NUMPAD0-9 only while NumLock gives their digits (KP_1
// and so on); with NumLock off they are the arrow and page keys they then are.
uint8_t virtualKeyOfSymbol(uint32_t keySymbol);

// One key event that stands for an injected virtual key.
struct SyntheticKey {
  uint32_t symbol = 0;
  uint32_t states = 0;  // KeyStateBits held before the event, as X reports them
  int code = 0;         // X key code of a US PC keyboard; 0 when it has none
};

// The keyboard the injected keys are typed on: the modifiers they hold down
// and the CapsLock taps they made, which the user's own lock state cannot show.
struct SyntheticKeyboard {
  bool shift = false;
  bool ctrl = false;
  bool alt = false;
  bool capsLockFlipped = false;
};

// The key event of injected virtual key `vk` going down or up, with the
// user's lock states (CapsLock, NumLock) of the event being handled; false for
// a virtual key that no key of the keyboard types. Modifier keys and CapsLock
// update the keyboard.
bool synthesizeKey(SyntheticKeyboard& keyboard, uint8_t vk, bool down, uint32_t userLockStates,
                   SyntheticKey& key);
