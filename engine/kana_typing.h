// Typing character entries: kana through the kana table as roman-letter key
// sequences, direct characters with their Shift/Alt bits, and stepping
// through the entries of the active char list.
#pragma once

#include <cstdint>

#include "engine/engine_state.h"

// Modifier bits of a character entry.
enum CharModifierBits : uint8_t {
  kModifierKana = 1,         // type through the kana table
  kModifierShift = 2,        // hold Shift around a directly typed key
  kModifierAlt = 4,          // hold Alt around a directly typed key
  kModifierDirect = 8,       // a non-kana character: IME control applies
  kModifierDakuten = 16,     // with kana: voiced form
  kModifierHandakuten = 32,  // with kana: semi-voiced form
};

// Types one character entry (modifier, virtual key); false when it typed
// nothing.
bool typeCharEntry(EngineState& engine, uint8_t modifier, uint8_t vk);

// A step's back-space for a candidate that typed something (`typed`); true
// when it was sent.
bool eraseCandidate(EngineState& engine, bool typed);
// After a step that erased a candidate (`erased`) and typed the next one
// (`typed`): if that one typed nothing, no kana stands before the cursor for
// a mark to rewrite.
void candidateReplaced(EngineState& engine, bool erased, bool typed);

// Step the active char list one entry forward / back (with wrap-around),
// erasing the entry typed last. False when there is no active list with at
// least two entries.
bool nextCharEntry(EngineState& engine);
bool previousCharEntry(EngineState& engine);
