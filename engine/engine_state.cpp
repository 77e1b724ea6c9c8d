#include "engine/engine_state.h"

namespace {

bool numericKeypadChosen(const EngineState& engine) {
#ifdef _WIN32_WCE
  (void)engine;
  return false;
#else
  return (engine.options & kOptionNumericKeypad) != 0;
#endif
}

// An image about to be released may hold the active char list; end the list
// without the latch so that nothing reads the freed record.
void releaseSlot(EngineState& engine, KeymapImage& image) {
  if (image.bytes == nullptr) return;
  if (isInsideImage(image, engine.activeCharList)) {
    engine.activeCharList = nullptr;
    engine.charIndex = 0;
  }
  releaseKeymapImage(image.bytes);
  image = KeymapImage{};
}

bool latchApplies(const EngineState& engine) {
  if ((engine.options & kOptionAutoCapsLock) == 0) return false;
  const uint8_t* list = engine.activeCharList;
  if (list == nullptr || engine.charIndex == 0 || actionKind(list) != kActionChar) return false;
  if (engine.charIndex < 0 || engine.charIndex >= charListCount(list)) return false;
  const uint8_t modifier = charEntryModifier(list, engine.charIndex);
  const uint8_t vk = charEntryVk(list, engine.charIndex);
  return (modifier & 1) == 0 && vk >= 0x41 && vk <= 0x5A;
}

}  // namespace

void setEngineDefaults(EngineState& engine) {
  KeyOutput* keyOutput = engine.keyOutput;
  ImeControl* imeControl = engine.imeControl;
  SystemKeyState* systemKeys = engine.systemKeys;
  KeyboardLayout* keyboardLayout = engine.keyboardLayout;
  engine = EngineState{};
  engine.keyOutput = keyOutput;
  engine.imeControl = imeControl;
  engine.systemKeys = systemKeys;
  engine.keyboardLayout = keyboardLayout;
  engine.options = kDefaultOptions;
  engine.timeoutMs = kDefaultTimeoutMs;
  selectKeypadKeys(engine);
}

void clearKeymaps(EngineState& engine) {
  for (KeymapImage& image : engine.keymaps) releaseSlot(engine, image);
  engine.currentKeymap = nullptr;
  selectKeypadKeys(engine);
}

void selectKeypadKeys(EngineState& engine) {
  const uint8_t* keys = numericKeypadChosen(engine) ? kNumericKeypadVk : kKeypadVk;
  for (uint16_t& entry : engine.vkMap) entry = 0;
  for (int column = 0; column < kKeypadColumns; ++column) {
    engine.vkMap[keys[column]] = static_cast<uint16_t>(kVkMapColumnBase + column);
  }
}

void installKeymap(EngineState& engine, uint32_t slot, uint8_t* bytes, uint32_t size) {
  if (slot >= kKeymapSlots || !isValidKeymapImage(bytes, size)) {
    releaseKeymapImage(bytes);
    return;
  }
  KeymapImage& image = engine.keymaps[slot];
  releaseSlot(engine, image);
  image.bytes = bytes;
  image.size = size;
}

void selectKeymap(EngineState& engine, int32_t slot) {
  engine.activeKeymap = slot;
  resetInputState(engine);
}

void closeActiveCharList(EngineState& engine) {
  if (latchApplies(engine)) engine.capsLockPending = true;
  engine.activeCharList = nullptr;
  engine.charIndex = 0;
}

void resetInputState(EngineState& engine) {
  closeActiveCharList(engine);
  engine.toggleKey = 0;
  engine.firstStroke = 0;
}

void selectModeKeymap(EngineState& engine) {
  const uint32_t options = engine.options;
  if (engine.screenRotated) {
    const uint32_t behaviour = rotationBehaviour(options);
    if (behaviour == kRotationUseKeymap6) {
      selectKeymap(engine, kSlotRotated);
      return;
    }
    if (behaviour == kRotationStandardKana) {
      selectKeymap(engine, kNoKeymap);
      return;
    }
  }
  if (options & kOptionTwoTouch) {
    selectKeymap(engine, (options & kOptionNicoTouch) ? kSlotNicoTouch : kSlotTwoTouch);
  } else if (options & kOptionKanaToggle) {
    selectKeymap(engine, kSlotKana);
  }
}

const KeymapImage* activeKeymapImage(const EngineState& engine) {
  const int32_t slot = engine.activeKeymap;
  if (slot < 0 || slot >= kKeymapSlots || engine.keymaps[slot].bytes == nullptr) return nullptr;
  return &engine.keymaps[slot];
}
