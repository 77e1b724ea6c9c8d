#include "sim/views/action_text.h"

#include "engine/action_interpreter.h"
#include "engine/engine_state.h"
#include "engine/kana_table.h"
#include "engine/kana_typing.h"
#include "engine/keymap_image.h"
#include "sim/device/ime_emulation.h"
#include "sim/views/key_names.h"

namespace {

// A scratch engine typing into a fresh emulated IME.
struct Scratch {
  Scratch(bool imeOn, uint32_t options) {
    setEngineDefaults(engine);
    engine.options = options & kOptionImeControl;
    engine.keyOutput = &ime;
    engine.imeControl = &ime;
    ime.switchTo(imeOn);
  }
  ImeEmulation ime;
  EngineState engine;
};

}  // namespace

std::string charEntryText(uint8_t modifier, uint8_t vk, bool imeOn, uint32_t options) {
  if (modifier == kModifierKana && vk == kVkDakuten) return "゛";
  if (modifier == kModifierKana && vk == kVkHandakuten) return "゜";
  Scratch scratch(imeOn, options);
  typeCharEntry(scratch.engine, modifier, vk);
  return scratch.ime.text();
}

std::string actionText(const uint8_t* record, bool imeOn, uint32_t options) {
  switch (record[0]) {
    case kActionChar:
      if (charListCount(record) == 0) return "-";
      return charEntryText(charEntryModifier(record, 0), charEntryVk(record, 0), imeOn, options);
    case kActionCommand:
      return "command " + std::to_string(record[2]) + " " + std::to_string(record[3]);
    case kActionRaw: {
      // With no char list to close, running the record only plays its keys.
      Scratch scratch(imeOn, options);
      executeAction(scratch.engine, record);
      std::string text = scratch.ime.text();
      if (!text.empty() && text.find('\n') == std::string::npos) return text;
      text = "raw";
      // Pairs of (direction, key): name the pressed keys.
      for (int i = 0; i + 1 < record[2]; i += 2) {
        if (record[3 + i] == 1) text += " " + virtualKeyName(record[4 + i]);
      }
      return text;
    }
    case kActionExec:
      return "exec \"" + std::string(reinterpret_cast<const char*>(record + 2)) + "\"";
    default:
      return "-";
  }
}
