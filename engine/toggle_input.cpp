#include "engine/toggle_input.h"

#include "engine/action_interpreter.h"
#include "engine/kana_typing.h"
#include "engine/platform_calls.h"

namespace {

// The key record of a column in the image of this event; a zero record (no
// actions) when there is no image. Toggle and pair state name keys by column
// only, so whatever a reload or slot switch did, the record read here is one
// of the live image.
KeyRecord currentKeyRecord(const EngineState& engine, int column) {
  if (engine.currentKeymap == nullptr) return KeyRecord{};
  return readKeyRecord(*engine.currentKeymap, column);
}

// Action n of a key record of the current image, or nullptr. The key's run is
// checked against the action table again, so a record that does not belong
// to the current image can never lead outside it.
const uint8_t* keyAction(const EngineState& engine, const KeyRecord& key, int32_t n) {
  const KeymapImage* image = engine.currentKeymap;
  if (image == nullptr || image->bytes == nullptr) return nullptr;
  if (n < 0 || n >= key.actionCount) return nullptr;
  const uint32_t tableEnd = actionRecordsStart(*image);
  if (key.actions < kKeyRecordsSize || key.actions > tableEnd) return nullptr;
  if (static_cast<uint32_t>(n) >= (tableEnd - key.actions) / kActionTableEntrySize) {
    return nullptr;
  }
  return keyActionRecord(*image, key, static_cast<uint32_t>(n));
}

// Runs action n of a key (none when there is no such action); true when it
// typed anything. `record` is the action's record, or nullptr.
bool runKeyAction(EngineState& engine, const KeyRecord& key, int32_t n,
                  const uint8_t** record = nullptr) {
  const uint8_t* action = keyAction(engine, key, n);
  if (record != nullptr) *record = action;
  return executeAction(engine, action);
}

// The previous keypad press is expired when the signed time since it is
// negative (a clock that wrapped or went back) or reaches the timeout; a
// timeout of 0 or below expires every press.
bool previousPressExpired(const EngineState& engine, uint32_t time) {
  const auto elapsed = static_cast<int32_t>(time - engine.lastKeyTime);
  return elapsed < 0 || elapsed >= engine.timeoutMs;
}

bool timeoutEndsSteps(const EngineState& engine, uint32_t time) {
  const uint32_t both = kOptionAdvanceAfterStep | kOptionAutoAdvance;
  return (engine.options & both) == both && previousPressExpired(engine, time);
}

// The key becomes the first stroke of a 2-touch pair; nothing is typed yet.
void beginPair(EngineState& engine, int column) {
  engine.firstStroke = keyCodeOf(column);
  engine.toggleKey = 0;
}

// Multi-tap: the same key again erases its candidate and types the next one;
// another key, a late press under auto-advance or a key of one action types
// the key's first action afresh.
void toggleStep(EngineState& engine, int column, const KeyRecord& key, uint32_t time) {
  engine.firstStroke = 0;
  if ((engine.options & kOptionAutoAdvance) && previousPressExpired(engine, time)) {
    engine.toggleKey = 0;
  }
  closeActiveCharList(engine);
  const int32_t count = key.actionCount;
  if (count == 0) {
    engine.toggleKey = 0;
    engine.toggleIndex = 0;
    engine.charIndex = 0;
    return;
  }
  const uint8_t* action = nullptr;
  if (engine.toggleKey == keyCodeOf(column) && count >= 2) {
    engine.charIndex = 0;
    // An index left over from another image may lie at or beyond this key's
    // count: it wraps to the first action like the end of the cycle does.
    int32_t next = engine.toggleIndex + 1;
    if (next < 0 || next >= count) next = 0;
    engine.toggleIndex = next;
    const bool erased = eraseCandidate(engine, engine.candidateTyped);
    engine.candidateTyped = runKeyAction(engine, key, next, &action);
    candidateReplaced(engine, erased, engine.candidateTyped);
  } else {
    engine.toggleIndex = 0;
    engine.charIndex = 0;
    engine.candidateTyped = runKeyAction(engine, key, 0, &action);
  }
  engine.lastKeyTime = time;
  // After a switch the column is another keymap's key: pressing it again
  // starts afresh instead of erasing what the user typed before.
  engine.toggleKey = switchesKeymap(action) ? 0 : keyCodeOf(column);
}

// With nothing to step: a pair begins, or the pressed key toggles.
void fallBack(EngineState& engine, int column, const KeyRecord& key, uint32_t time,
              bool orTwoTouch) {
  if (orTwoTouch) {
    beginPair(engine, column);
  } else {
    toggleStep(engine, column, key, time);
  }
}

// The second key of a 2-touch pair: its column picks the action in the first
// key's row of twelve, whatever its own type.
void secondStroke(EngineState& engine, int column, uint32_t time) {
  const KeyRecord first = currentKeyRecord(engine, columnOf(engine.firstStroke));
  engine.toggleKey = 0;
  engine.lastKeyTime = time;
  // The slot may have changed since the first stroke; a first key without a
  // row of twelve leaves the pair pending until the input state is reset.
  if (first.actionCount != kKeypadColumns) return;
  runKeyAction(engine, first, column);
  engine.firstStroke = 0;
}

// Steps the running toggle one candidate back.
void reverseToggleStep(EngineState& engine, int column, const KeyRecord& key, uint32_t time,
                       bool orTwoTouch) {
  engine.firstStroke = 0;
  if (timeoutEndsSteps(engine, time)) engine.toggleKey = 0;
  if (engine.toggleKey == 0) {
    fallBack(engine, column, key, time, orTwoTouch);
    return;
  }
  // The key being toggled, as the current image has it: the slot may have
  // switched or the keymaps been reloaded since its last candidate.
  const KeyRecord toggled = currentKeyRecord(engine, columnOf(engine.toggleKey));
  const int32_t count = toggled.actionCount;
  if (count < 2) {
    fallBack(engine, column, key, time, orTwoTouch);
    return;
  }
  engine.charIndex = 0;
  // One step back from the first action wraps to the last. So does one step
  // back from an index that the current image's key no longer has (left over
  // from a longer key before a slot switch or reload): the last action is the
  // one nearest to where the cycle stood, and it is always the key's own.
  int32_t previous = engine.toggleIndex - 1;
  if (previous < 0 || previous >= count) previous = count - 1;
  engine.toggleIndex = previous;
  const bool erased = eraseCandidate(engine, engine.candidateTyped);
  engine.candidateTyped = runKeyAction(engine, toggled, previous);
  candidateReplaced(engine, erased, engine.candidateTyped);
  engine.lastKeyTime = time;
}

// Post-conversion: the entry after (or before) the one typed last in the
// active char list.
void nextEntryOrElse(EngineState& engine, int column, const KeyRecord& key, uint32_t time,
                     bool orTwoTouch) {
  if (timeoutEndsSteps(engine, time)) closeActiveCharList(engine);
  if (nextCharEntry(engine)) {
    engine.lastKeyTime = time;
    return;
  }
  fallBack(engine, column, key, time, orTwoTouch);
}

void previousEntryOrElse(EngineState& engine, int column, const KeyRecord& key, uint32_t time,
                         bool orTwoTouch) {
  if (timeoutEndsSteps(engine, time)) closeActiveCharList(engine);
  if (previousCharEntry(engine)) {
    engine.lastKeyTime = time;
    return;
  }
  fallBack(engine, column, key, time, orTwoTouch);
}

}  // namespace

// The pressed key's type picks the step; while a first stroke waits, every
// key is its second stroke.
void pressKeypadKey(EngineState& engine, int column, const KeyRecord& key, uint32_t time) {
  if (column < 0 || column >= kKeypadColumns) return;
  if (engine.firstStroke != 0) {
    secondStroke(engine, column, time);
    return;
  }
  switch (key.type) {
    case kKeyTypeBell:
      beginPair(engine, column);
      break;
    case kKeyTypeToggle:
      toggleStep(engine, column, key, time);
      break;
    case kKeyTypeReverseToggle:
      reverseToggleStep(engine, column, key, time, false);
      break;
    case kKeyTypeNextEntry:
      nextEntryOrElse(engine, column, key, time, false);
      break;
    case kKeyTypePreviousEntry:
      previousEntryOrElse(engine, column, key, time, false);
      break;
    case kKeyTypeReverseOrPair:
      reverseToggleStep(engine, column, key, time, true);
      break;
    case kKeyTypeNextOrPair:
      nextEntryOrElse(engine, column, key, time, true);
      break;
    case kKeyTypePreviousOrPair:
      previousEntryOrElse(engine, column, key, time, true);
      break;
    default:
      break;
  }
}
