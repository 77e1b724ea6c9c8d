#include "engine/keypad_dispatcher.h"

#include "engine/key_message.h"
#include "engine/platform_calls.h"
#include "engine/toggle_input.h"

namespace {

constexpr uint32_t kKanaSlot = 4;
constexpr uint32_t kNonKanaSlot = 5;

// Keypad column of a vkMap value, or -1 for a key that is not on the keypad.
int keypadColumn(uint16_t mapped) {
  if (mapped < kVkMapColumnBase || mapped >= kVkMapColumnBase + kKeypadColumns) return -1;
  return mapped - kVkMapColumnBase;
}

bool modifierHeld(const EngineState& engine) {
  return (engine.heldModifiers & (kHeldShift | kHeldCtrl)) != 0;
}

// An unmapped key: the clear key may cancel a pending first stroke; every
// other event ends whatever input was running and goes on to the system.
bool dispatchUnmapped(EngineState& engine, uint32_t vk, uint32_t message) {
  if (message == kMessageKeyDown && vk == kVkBack && (engine.options & kOptionClearCancelsStroke) &&
      engine.firstStroke != 0) {
    resetInputState(engine);
    return true;
  }
  resetInputState(engine);
  return false;
}

}  // namespace

bool dispatchKeypadEvent(EngineState& engine, const IncomingKeyEvent& event) {
  if (event.own) return false;
  const uint32_t vk = event.vk;
  const uint32_t message = event.message;
  if (engine.activeKeymap < 0 || engine.activeKeymap >= kKeymapSlots) return false;
  engine.currentKeymap = activeKeymapImage(engine);
  if (engine.currentKeymap == nullptr) return false;
  // Only 0-255 are keys vkMap knows; anything else is not ours to touch.
  if (vk > 0xFF) return false;

  followImeKeymap(engine, message);
  if (engine.currentKeymap == nullptr) return false;

  // The right arrow confirms the candidate on screen: the toggle ends on its
  // release, while the char list stays for post-conversion.
  if (vk == kVkRight && engine.toggleKey != 0) {
    if (message == kMessageKeyUp) engine.toggleKey = 0;
    return true;
  }

  const int column = keypadColumn(engine.vkMap[vk]);
  if (column < 0) return dispatchUnmapped(engine, vk, message);

  // With Shift or Ctrl held the keypad keys reach the system unchanged; their
  // releases are otherwise consumed without any effect.
  if (modifierHeld(engine)) return false;
  if (message == kMessageKeyDown) {
    pressKeypadKey(engine, column, readKeyRecord(*engine.currentKeymap, column), event.time);
  }
  return true;
}

void followImeKeymap(EngineState& engine, uint32_t message) {
  if ((engine.options & kOptionKanaToggle) == 0 || (engine.options & kOptionScreenRotated)) return;
  if (message != kMessageKeyDown) return;
  const bool kana = imeIsOpen(engine) && (imeConversionMode(engine) & kImeConversionNative);
  engine.activeKeymap = kana ? kKanaSlot : kNonKanaSlot;
  engine.currentKeymap = activeKeymapImage(engine);
}
