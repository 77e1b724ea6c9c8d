#include "engine/action_interpreter.h"

#include "engine/kana_typing.h"
#include "engine/platform_calls.h"

namespace {

// True when it typed.
bool runCharAction(EngineState& engine, const uint8_t* record) {
  closeActiveCharList(engine);
  if (charListCount(record) == 0) return false;  // nothing to type or step through
  engine.activeCharList = record;
  engine.entryTyped = typeCharEntry(engine, charEntryModifier(record, 0), charEntryVk(record, 0));
  return engine.entryTyped;
}

void runExecAction(EngineState& engine, const uint8_t* record) {
  closeActiveCharList(engine);
  // The program starts from the main window's message loop, never inside the
  // key hook; the path (and the arguments after its NUL) stay in the image.
  if (engine.mainWindow != nullptr) {
    engine.mainWindow->postWindowCommand(kCommandRunProgram,
                                         reinterpret_cast<uintptr_t>(execProgramPath(record)));
  }
}

// Plays the `count` bytes of a raw record as steps (direction, key); true
// when it pressed a key.
bool playRawSequence(EngineState& engine, const uint8_t* bytes, uint32_t count) {
  bool pressed = false;
  uint32_t at = 0;
  // count / 2 steps; a step whose direction byte is neither press nor
  // release ends after that byte. No step reads past the count.
  for (uint32_t step = 0; step < count / 2 && at < count; ++step) {
    const uint8_t direction = bytes[at++];
    if (direction != kRawPress && direction != kRawRelease) continue;
    if (at >= count) break;
    const uint8_t vk = bytes[at++];
    if (direction == kRawPress) {
      sendKeyDown(engine, vk);
      pressed = true;
    } else {
      sendKeyUp(engine, vk);
    }
  }
  return pressed;
}

// Runs command `number` with its parameter byte; true when it typed (a
// step of the active char list).
bool executeCommand(EngineState& engine, uint8_t number, uint8_t parameter) {
  switch (number) {
    case kKeymapCommandPartnerKeymap:
      closeActiveCharList(engine);
      engine.toggleIndex = 0;
      engine.activeKeymap = partnerSlot(engine.activeKeymap);
      engine.toggleKey = 0;
      break;
    case kKeymapCommandImeOnOff:
      imeToggleChord(engine);
      break;
    case kKeymapCommandEndInput:
      resetInputState(engine);
      break;
    case kKeymapCommandSelectKeymap:
      // An empty or unknown slot is left to the dispatcher, which then
      // handles no key.
      closeActiveCharList(engine);
      engine.toggleIndex = 0;
      engine.toggleKey = 0;
      selectKeymap(engine, parameter);
      break;
    case kKeymapCommandNextEntry:
      return nextCharEntry(engine) && engine.entryTyped;
    case kKeymapCommandPreviousEntry:
      return previousCharEntry(engine) && engine.entryTyped;
    case kKeymapCommandRotateScreen:
      if (engine.mainWindow != nullptr) {
        engine.mainWindow->postWindowCommand(kCommandRotateScreen, parameter);
      }
      break;
    default:  // numbers the program does not know do nothing
      break;
  }
  return false;
}

}  // namespace

bool executeAction(EngineState& engine, const uint8_t* record) {
  if (record == nullptr) return false;
  bool typed = false;
  switch (actionKind(record)) {
    case kActionChar:
      typed = runCharAction(engine, record);
      break;
    case kActionCommand:
      // The char list stays open so that commands 5 and 6 can step it.
      typed = executeCommand(engine, commandNumber(record), commandParameter(record));
      break;
    case kActionRaw:
      closeActiveCharList(engine);
      typed = playRawSequence(engine, rawBytes(record), rawByteCount(record));
      break;
    case kActionExec:
      runExecAction(engine, record);
      break;
    default:  // nop and unknown kinds
      break;
  }
  return typed;
}

bool switchesKeymap(const uint8_t* record) {
  if (record == nullptr || actionKind(record) != kActionCommand) return false;
  const uint8_t number = commandNumber(record);
  return number == kKeymapCommandPartnerKeymap || number == kKeymapCommandSelectKeymap;
}
