#include "engine/keypad_dispatcher.h"

#include "engine/key_message.h"
#include "engine/platform_calls.h"
#include "engine/toggle_input.h"

namespace {

// Keypad column of a vkMap value, or -1 for a key that is not on the keypad.
int keypadColumn(uint16_t mapped) {
  if (mapped < kVkMapColumnBase || mapped >= kVkMapColumnBase + kKeypadColumns) return -1;
  return mapped - kVkMapColumnBase;
}

bool modifierHeld(const EngineState& engine) {
  return (engine.heldModifiers & (kHeldShift | kHeldCtrl)) != 0;
}

// Kana toggle mode, screen not rotated, key-downs only: slot 4 while the IME
// is open in native (kana) conversion mode, slot 5 otherwise. The input state
// carries over between the two.
void followImeKeymap(EngineState& engine, uint32_t message) {
  if ((engine.options & kOptionKanaToggle) == 0 || engine.screenRotated) return;
  if (message != kMessageKeyDown) return;
  const bool kana = imeIsOpen(engine) && (imeConversionMode(engine) & kImeConversionNative);
  engine.activeKeymap = kana ? kSlotKana : kSlotAlphanumeric;
  engine.currentKeymap = activeKeymapImage(engine);
}

// In kana toggle mode the IME decides between slots 4 and 5, and each
// question to it crosses processes from inside the hook. It is asked only on
// key-downs whose handling depends on the slot: a keypad key (unless Shift
// or Ctrl leaves it to the system anyway), the right arrow while it would
// confirm a running toggle, and the clear key while it would cancel a
// pending first stroke. Every other event ends the input state and passes
// whichever slot is selected, so the answer would decide nothing.
bool slotDecides(const EngineState& engine, const IncomingKeyEvent& event, int column) {
  if (event.message != kMessageKeyDown) return false;
  if (column >= 0) return !modifierHeld(engine);
  if (event.vk == kVkRight) return engine.toggleKey != 0;
  if (event.vk == kVkBack) {
    return engine.firstStroke != 0 && (engine.options & kOptionClearCancelsStroke) != 0;
  }
  return false;
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
  // Only 0-255 are keys vkMap knows; anything else is not ours to touch.
  if (event.vk > 0xFF) return false;
  if (event.asTyped) {
    // As any key the keypad does not know: it ends the input in progress.
    resetInputState(engine);
    return false;
  }
  const uint32_t vk = event.vk;
  const uint32_t message = event.message;
  const int column = keypadColumn(engine.vkMap[vk]);

  // The slot follows the IME before its image is looked at, so that an empty
  // slot never keeps the keypad from coming back.
  if (slotDecides(engine, event, column)) followImeKeymap(engine, message);
  engine.currentKeymap = activeKeymapImage(engine);
  if (engine.currentKeymap == nullptr) {
    // A plain keypad: whatever the key does in the system ends the input in
    // progress, as any other key the system gets does.
    resetInputState(engine);
    return false;
  }

  // The right arrow confirms the candidate on screen: the toggle ends on its
  // release, while the char list stays for post-conversion.
  if (vk == kVkRight && engine.toggleKey != 0) {
    if (message == kMessageKeyUp) engine.toggleKey = 0;
    return true;
  }

  if (column < 0) return dispatchUnmapped(engine, vk, message);

  // With Shift or Ctrl held the keypad keys reach the system unchanged; their
  // releases are otherwise consumed without any effect.
  if (modifierHeld(engine)) return false;
  if (message == kMessageKeyDown) {
    pressKeypadKey(engine, column, readKeyRecord(*engine.currentKeymap, column), event.time);
  }
  return true;
}
