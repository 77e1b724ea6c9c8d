#include "sim/views/action_text.h"

#include "engine/action_interpreter.h"
#include "engine/engine_state.h"
#include "engine/kana_table.h"
#include "engine/kana_typing.h"
#include "engine/key_names.h"
#include "engine/keymap_image.h"
#include "sim/device/ime_emulation.h"

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
  switch (actionKind(record)) {
    case kActionChar:
      if (charListCount(record) == 0) return "-";
      return charEntryText(charEntryModifier(record, 0), charEntryVk(record, 0), imeOn, options);
    case kActionCommand:
      return "command " + std::to_string(commandNumber(record)) + " " +
             std::to_string(commandParameter(record));
    case kActionRaw: {
      // With no char list to close, running the record only plays its keys.
      Scratch scratch(imeOn, options);
      executeAction(scratch.engine, record);
      std::string text = scratch.ime.text();
      if (!text.empty() && text.find('\n') == std::string::npos) return text;
      text = "raw";
      // Pairs of (direction, key): name the pressed keys.
      const uint8_t* bytes = rawBytes(record);
      for (uint32_t i = 0; i + 1 < rawByteCount(record); i += 2) {
        if (bytes[i] == kRawPress) text += " " + virtualKeyName(bytes[i + 1]);
      }
      return text;
    }
    case kActionExec:
      return "exec \"" + std::string(execProgramPath(record)) + "\"";
    default:
      return "-";
  }
}
