#include "engine/kana_typing.h"

#include "engine/kana_table.h"
#include "engine/platform_calls.h"
#include "engine/us_layout.h"

namespace {

// Modifier values that pick a kana table column; every other value is typed
// directly.
constexpr uint8_t kModifierShiftedKana = kModifierKana | kModifierShift;          // 3
constexpr uint8_t kModifierVoicedKana = kModifierKana | kModifierDakuten;         // 17
constexpr uint8_t kModifierSemiVoicedKana = kModifierKana | kModifierHandakuten;  // 33
constexpr uint8_t kModifierDirectShift = kModifierDirect | kModifierShift;        // 10

constexpr uint32_t kLastKanaBase = 256;

// Row of the kana typed last, or -1 when there is none.
int lastKanaRow(const EngineState& engine) {
  if (engine.lastKana < kLastKanaBase || engine.lastKana >= kLastKanaBase + kKanaRowCount) {
    return -1;
  }
  return static_cast<int>(engine.lastKana - kLastKanaBase);
}

void rememberKana(EngineState& engine, int row) {
  engine.lastKana = kLastKanaBase + static_cast<uint32_t>(row);
}

// Rewrites the key and modifier of a direct character from its remap cell.
void applyRemap(const uint8_t* cell, uint8_t& modifier, uint8_t& vk) {
  if (cell == nullptr) return;
  vk = cell[0];
  modifier = cell[1] != 0 ? kModifierDirectShift : static_cast<uint8_t>(kModifierDirect);
}

void tapCapsLock(EngineState& engine) {
  tapKey(engine, kVkCapital);
  engine.capsLockByEngine = !engine.capsLockByEngine;
}

void typeDirectly(EngineState& engine, uint8_t modifier, uint8_t vk) {
  if (modifier & kModifierAlt) sendKeyDown(engine, kVkLeftMenu);
  if (modifier & kModifierShift) sendKeyDown(engine, kVkShift);
  tapKey(engine, vk);
  if (modifier & kModifierShift) sendKeyUp(engine, kVkShift);
  if (modifier & kModifierAlt) sendKeyUp(engine, kVkLeftMenu);
}

void noteUntypable(EngineState& engine, char character) {
  ++engine.untypableCount;
  engine.lastUntypable = static_cast<char16_t>(static_cast<unsigned char>(character));
}

// A key and whether it is typed with Shift.
struct Keystroke {
  uint8_t vk;
  bool shift;
};

// The keystroke that types, where the keys go, the character `vk` types on a
// US layout with `shift`. Windows CE, an engine without a layout and keys
// that type no character go out as they are. False (the character noted) when
// the layout has no key for it, or only one with Ctrl or Alt (AltGr).
bool keystrokeInLayout(EngineState& engine, uint8_t vk, bool shift, Keystroke& stroke) {
  stroke = {vk, shift};
#ifdef _WIN32_WCE
  (void)engine;
  return true;
#else
  if (engine.keyboardLayout == nullptr) return true;
  const char character = usLayoutCharacter(vk, shift);
  if (character == 0) return true;
  const LayoutKey key = engine.keyboardLayout->keyForCharacter(static_cast<char16_t>(character));
  if (!key.found || (key.shiftState & ~kLayoutShift) != 0) {
    noteUntypable(engine, character);
    return false;
  }
  stroke = {key.vk, (key.shiftState & kLayoutShift) != 0};
  return true;
#endif
}

// Taps one key of a kana-table sequence while Shift is held or not. Letters
// and unshifted digits are roman input and go out as they are; a punctuation
// key goes out as the key of its US character where the keys go, with Shift
// set as that key needs and set back after. False when the layout cannot
// type it.
bool tapSequenceKey(EngineState& engine, uint8_t vk, bool shiftHeld) {
  const bool romanInput = (vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9' && !shiftHeld);
  if (romanInput || engine.keyboardLayout == nullptr) {
    tapKey(engine, vk);
    return true;
  }
  Keystroke stroke;
  if (!keystrokeInLayout(engine, vk, shiftHeld, stroke)) return false;
  if (stroke.shift != shiftHeld) {
    if (stroke.shift) {
      sendKeyDown(engine, kVkShift);
    } else {
      sendKeyUp(engine, kVkShift);
    }
  }
  tapKey(engine, stroke.vk);
  if (stroke.shift != shiftHeld) {
    if (shiftHeld) {
      sendKeyDown(engine, kVkShift);
    } else {
      sendKeyUp(engine, kVkShift);
    }
  }
  return true;
}

// Types a NUL-terminated kana-table sequence; false (nothing sent) for null.
// `typed` tells whether a key went out.
bool typeKeySequence(EngineState& engine, const uint8_t* sequence, bool& typed) {
  typed = false;
  if (sequence == nullptr) return false;
  bool shiftHeld = false;
  for (const uint8_t* p = sequence; *p != 0; ++p) {
    if (*p == kSequenceShiftDown) {
      sendKeyDown(engine, kVkShift);
      shiftHeld = true;
    } else if (*p == kSequenceShiftUp) {
      sendKeyUp(engine, kVkShift);
      shiftHeld = false;
    } else if (tapSequenceKey(engine, *p, shiftHeld)) {
      typed = true;
    }
  }
  return true;
}

// Types a kana-table key sequence when the entry has one and returns true
// (`typed` telling whether a key went out); otherwise returns false,
// possibly having rewritten modifier and vk (remap columns) for the caller
// to type directly.
bool kanaLookup(EngineState& engine, uint8_t& modifier, uint8_t& vk, bool& typed) {
  const uint8_t row = kanaRowOf(vk);
  if (row == kNotKanaKey) return false;

  // A plain dakuten/handakuten key after a kana replaces that kana with its
  // voiced/semi-voiced form. A toggle or post-conversion step of this very
  // press has already erased the candidate before it; otherwise the kana is
  // erased here, and never twice.
  const int previous = lastKanaRow(engine);
  if (previous >= 0 && modifier == kModifierKana && (vk == kVkDakuten || vk == kVkHandakuten)) {
    if (engine.backspacesInEvent == 0) tapBackspace(engine);
    return typeKeySequence(
        engine, kanaCell(previous, vk == kVkDakuten ? kKanaVoiced : kKanaSemiVoiced), typed);
  }

  switch (modifier) {
    case kModifierKana:
      rememberKana(engine, row);
      return typeKeySequence(engine, kanaCell(row, kKanaPlain), typed);
    case kModifierShiftedKana:
      rememberKana(engine, row);
      return typeKeySequence(engine, kanaCell(row, kKanaShifted), typed);
    default:
      break;
  }

  engine.lastKana = 0;
  switch (modifier) {
    case kModifierVoicedKana:
      return typeKeySequence(engine, kanaCell(row, kKanaVoiced), typed);
    case kModifierSemiVoicedKana:
      return typeKeySequence(engine, kanaCell(row, kKanaSemiVoiced), typed);
    case kModifierDirect:
      applyRemap(kanaCell(row, kKanaDirectRemap), modifier, vk);
      return false;
    case kModifierDirectShift:
      applyRemap(kanaCell(row, kKanaDirectShiftRemap), modifier, vk);
      return false;
    default:
      return false;
  }
}

// The off/on chord toggles the IME: on a closed IME it would open it around
// the character instead. Desktop asks first, and an IME that does not answer
// counts as it was last known; Windows CE always sends the chords.
bool imeOpenForDirectCharacter(EngineState& engine) {
#ifdef _WIN32_WCE
  (void)engine;
  return true;
#else
  refreshImeOpen(engine);
  return imeKnownOpen(engine);
#endif
}

// Moves charIndex one entry on (+1) or back (-1) with wrap-around and retypes
// the entry there, erasing the one typed before.
bool stepCharList(EngineState& engine, int direction) {
  engine.firstStroke = 0;
  const uint8_t* list = engine.activeCharList;
  if (list == nullptr || actionKind(list) != kActionChar || charListCount(list) < 2) return false;
  engine.toggleKey = 0;
  const int count = charListCount(list);
  // An index that does not name an entry counts as the first entry.
  const int current = (engine.charIndex >= 0 && engine.charIndex < count) ? engine.charIndex : 0;
  int index = current + direction;
  if (index >= count) index = 0;
  if (index < 0) index = count - 1;
  engine.charIndex = index;
  const bool erased = eraseCandidate(engine, engine.entryTyped);
  engine.entryTyped =
      typeCharEntry(engine, charEntryModifier(list, index), charEntryVk(list, index));
  candidateReplaced(engine, erased, engine.entryTyped);
  return true;
}

}  // namespace

bool typeCharEntry(EngineState& engine, uint8_t modifier, uint8_t vk) {
  if (modifier == 0 || modifier == kModifierShift) modifier |= kModifierDirect;
  const bool direct = (modifier & kModifierDirect) != 0;

  // A direct character is what its key (after the remap) types on a US
  // layout; it goes out as the key that types it where the keys go. Keys
  // held with Alt are shortcuts and go out as they are. A character the
  // layout cannot type is passed over (and noted), and the CapsLock latch
  // waits for the next one.
  if (direct) {
    bool typedByTable = false;
    kanaLookup(engine, modifier, vk, typedByTable);  // a direct entry: its remap only
    if ((modifier & kModifierAlt) == 0) {
      Keystroke stroke;
      if (!keystrokeInLayout(engine, vk, (modifier & kModifierShift) != 0, stroke)) return false;
      vk = stroke.vk;
      modifier = stroke.shift ? static_cast<uint8_t>(modifier | kModifierShift)
                              : static_cast<uint8_t>(modifier & ~kModifierShift);
    }
  }

  // The auto-CapsLock latch taps CapsLock before the next character. Kana
  // go out as roman letters, which CapsLock would turn into capitals: a kana
  // entry only drops the latch, and switches CapsLock back first when the
  // latch turned it on.
  const bool latched = engine.capsLockPending;
  engine.capsLockPending = false;
  if (modifier & kModifierKana) {
    if (engine.capsLockByEngine) tapCapsLock(engine);
  } else if (latched) {
    tapCapsLock(engine);
  }

  // IMEs that cannot take direct characters get them with the IME switched
  // off, after committing any open composition. The IME handles this event's
  // back-spaces before the Enter: with nothing left to commit, the Enter
  // would reach the application as a new line.
  const bool switchOff =
      (engine.options & kOptionImeControl) != 0 && direct && imeOpenForDirectCharacter(engine);
  if (switchOff) {
    if (imeCompositionLength(engine) > engine.backspacesInEvent) tapKey(engine, kVkReturn);
    imeToggleChord(engine);
  }

  bool typed = false;
  if (!direct && kanaLookup(engine, modifier, vk, typed)) return typed;

  typeDirectly(engine, modifier, vk);
  if (switchOff) imeToggleChord(engine);
  return true;
}

bool eraseCandidate(EngineState& engine, bool typed) {
  if (!typed) return false;
  tapBackspace(engine);
  return true;
}

void candidateReplaced(EngineState& engine, bool erased, bool typed) {
  if (erased && !typed) engine.lastKana = 0;
}

bool nextCharEntry(EngineState& engine) {
  return stepCharList(engine, +1);
}

bool previousCharEntry(EngineState& engine) {
  return stepCharList(engine, -1);
}
