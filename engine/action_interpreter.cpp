#include "engine/action_interpreter.h"

#include "engine/kana_typing.h"
#include "engine/platform_calls.h"

namespace {

void runCharAction(EngineState& engine, const uint8_t* record) {
  closeActiveCharList(engine);
  if (charListCount(record) == 0) return;  // nothing to type or step through
  engine.activeCharList = record;
  typeCharEntry(engine, charEntryModifier(record, 0), charEntryVk(record, 0));
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

// Plays the `count` bytes of a raw record as steps (direction, key).
void playRawSequence(EngineState& engine, const uint8_t* bytes, uint32_t count) {
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
    } else {
      sendKeyUp(engine, vk);
    }
  }
}

// Runs command `number` with its parameter byte.
void executeCommand(EngineState& engine, uint8_t number, uint8_t parameter) {
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
      nextCharEntry(engine);
      break;
    case kKeymapCommandPreviousEntry:
      previousCharEntry(engine);
      break;
    case kKeymapCommandRotateScreen:
      if (engine.mainWindow != nullptr) {
        engine.mainWindow->postWindowCommand(kCommandRotateScreen, parameter);
      }
      break;
    default:  // numbers the program does not know do nothing
      break;
  }
}

}  // namespace

void executeAction(EngineState& engine, const uint8_t* record) {
  if (record == nullptr) return;
  switch (actionKind(record)) {
    case kActionChar:
      runCharAction(engine, record);
      break;
    case kActionCommand:
      // The char list stays open so that commands 5 and 6 can step it.
      executeCommand(engine, commandNumber(record), commandParameter(record));
      break;
    case kActionRaw:
      closeActiveCharList(engine);
      playRawSequence(engine, rawBytes(record), rawByteCount(record));
      break;
    case kActionExec:
      runExecAction(engine, record);
      break;
    default:  // nop and unknown kinds
      break;
  }
}

bool switchesKeymap(const uint8_t* record) {
  if (record == nullptr || actionKind(record) != kActionCommand) return false;
  const uint8_t number = commandNumber(record);
  return number == kKeymapCommandPartnerKeymap || number == kKeymapCommandSelectKeymap;
}
