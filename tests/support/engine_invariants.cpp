#include "tests/support/engine_invariants.h"

namespace {

bool isKeyCodeOrNone(int32_t value) {
  return value == 0 || (value >= keyCodeOf(0) && value < keyCodeOf(kKeypadColumns));
}

}  // namespace

std::string brokenEngineInvariant(const EngineState& engine) {
  if (!isKeyCodeOrNone(engine.toggleKey)) return "toggleKey out of range";
  if (!isKeyCodeOrNone(engine.firstStroke)) return "firstStroke out of range";
  if ((engine.heldModifiers & ~uint32_t{kHeldShift | kHeldCtrl | kHeldAlt | kHeldWin}) != 0) {
    return "heldModifiers beyond Shift, Ctrl, Alt and Win";
  }
  if (engine.activeCharList != nullptr) {
    bool live = false;
    for (const KeymapImage& image : engine.keymaps) {
      if (isInsideImage(image, engine.activeCharList)) live = true;
    }
    // Nothing more may be read from a list outside every live image.
    if (!live) return "activeCharList outside every live image";
    if (actionKind(engine.activeCharList) != kActionChar)
      return "activeCharList is not a char list";
    if (engine.charIndex < 0 || engine.charIndex >= charListCount(engine.activeCharList)) {
      return "charIndex outside the active list";
    }
  } else if (engine.charIndex != 0) {
    return "charIndex without a list";
  }
  if (engine.currentKeymap != nullptr && (engine.currentKeymap < engine.keymaps ||
                                          engine.currentKeymap >= engine.keymaps + kKeymapSlots)) {
    return "currentKeymap is not a slot";
  }
  return "";
}
