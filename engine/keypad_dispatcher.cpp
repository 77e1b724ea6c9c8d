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

// With Shift, Ctrl, Alt or Win held a keypad key means the system's own
// shortcut or symbol.
bool modifierHeld(const EngineState& engine) {
  return engine.heldModifiers != 0;
}

// Kana toggle mode with the screen not rotated: the IME picks slot 4 or 5.
bool slotFollowsIme(const EngineState& engine) {
  return (engine.options & kOptionKanaToggle) != 0 && !engine.screenRotated;
}

// On desktop every keypad key-down asks whether the IME takes kana input,
// in which case the roman letters of a kana would come out as other kana.
// The rotated screen's keymap moves the cursor and asks nothing. Windows CE
// asks only where the slot follows the IME.
bool kanaInputMatters(const EngineState& engine) {
#ifdef _WIN32_WCE
  (void)engine;
  return false;
#else
  return !engine.screenRotated;
#endif
}

// Slot 4 while the IME is open in native (kana) conversion mode, slot 5
// otherwise. An IME that leaves a question unanswered leaves the slot as it
// is, rather than being taken for closed. The input state carries over
// between the two.
void followImeKeymap(EngineState& engine) {
  refreshImeStatus(engine);
  if (!slotFollowsIme(engine) || imeLastUnanswered(engine)) return;
  engine.activeKeymap = imeInKanaMode(engine) ? kSlotKana : kSlotAlphanumeric;
}

// Each question to the IME crosses processes from inside the hook. It is
// asked only on key-downs whose handling depends on its answer: a keypad key
// (unless a modifier leaves it to the system anyway), and where the slot
// follows the IME the right arrow while it would confirm a running toggle
// and the clear key while it would cancel a pending first stroke. Every
// other event ends the input state and passes whichever slot is selected,
// so the answer would decide nothing.
bool imeDecides(const EngineState& engine, const IncomingKeyEvent& event, int column) {
  if (event.message != kMessageKeyDown) return false;
  if (column >= 0) {
    return !modifierHeld(engine) && (slotFollowsIme(engine) || kanaInputMatters(engine));
  }
  if (!slotFollowsIme(engine)) return false;
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
  const bool imeAsked = imeDecides(engine, event, column);
  if (imeAsked) followImeKeymap(engine);
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

  // With a modifier held the keypad keys reach the system unchanged; their
  // releases are otherwise consumed without any effect.
  if (modifierHeld(engine)) return false;
  if (imeAsked && kanaInputMatters(engine) && imeTakesKanaInput(engine)) {
    // Kana input: the keypad is the system's, as any key it does not know,
    // until the IME takes roman letters again; the shell says why.
    resetInputState(engine);
    return false;
  }
  if (message == kMessageKeyDown) {
    pressKeypadKey(engine, column, readKeyRecord(*engine.currentKeymap, column), event.time);
  }
  return true;
}
