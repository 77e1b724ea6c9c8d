#include "engine/action_interpreter.h"

#include "engine/kana_typing.h"
#include "engine/platform_calls.h"

namespace {

// Command numbers of command actions.
enum CommandNumber : uint8_t {
  kCommandPartnerKeymap = 1,
  kCommandImeToggle = 2,
  kCommandResetInput = 3,
  kCommandSelectKeymap = 4,
  kCommandNextEntry = 5,
  kCommandPreviousEntry = 6,
  kCommandRotate = 7,
};

// Directions of a raw sequence step.
constexpr uint8_t kRawPress = 1;
constexpr uint8_t kRawRelease = 2;

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
                                         reinterpret_cast<uintptr_t>(record + 2));
  }
}

// Plays the count-prefixed bytes of a raw record (count byte first).
void playRawSequence(EngineState& engine, const uint8_t* rawBytes) {
  if (rawBytes == nullptr) return;
  const uint32_t count = rawBytes[0];
  const uint8_t* bytes = rawBytes + 1;
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
    case kCommandPartnerKeymap:
      closeActiveCharList(engine);
      engine.toggleIndex = 0;
      engine.activeKeymap ^= 1;
      engine.toggleKey = 0;
      break;
    case kCommandImeToggle:
      imeToggleChord(engine);
      break;
    case kCommandResetInput:
      resetInputState(engine);
      break;
    case kCommandSelectKeymap:
      // An empty or unknown slot is left to the dispatcher, which then
      // handles no key.
      closeActiveCharList(engine);
      engine.toggleIndex = 0;
      engine.toggleKey = 0;
      selectKeymap(engine, parameter);
      break;
    case kCommandNextEntry:
      nextCharEntry(engine);
      break;
    case kCommandPreviousEntry:
      previousCharEntry(engine);
      break;
    case kCommandRotate:
      if (engine.mainWindow != nullptr) {
        engine.mainWindow->postWindowCommand(kCommandRotateScreen, parameter);
      }
      break;
    default:
      break;
  }
}

}  // namespace

void executeAction(EngineState& engine, const uint8_t* record) {
  if (record == nullptr) return;
  switch (record[0]) {
    case kActionChar:
      runCharAction(engine, record);
      break;
    case kActionCommand:
      // The char list stays open so that commands 5 and 6 can step it.
      executeCommand(engine, record[2], record[3]);
      break;
    case kActionRaw:
      closeActiveCharList(engine);
      playRawSequence(engine, record + 2);
      break;
    case kActionExec:
      runExecAction(engine, record);
      break;
    default:  // nop and unknown kinds
      break;
  }
}

bool switchesKeymap(const uint8_t* record) {
  return record != nullptr && record[0] == kActionCommand &&
         (record[2] == kCommandPartnerKeymap || record[2] == kCommandSelectKeymap);
}
