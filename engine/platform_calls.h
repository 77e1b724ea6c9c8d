// The engine's voice: every key it injects goes out through these helpers
// (single keys and the fixed chords), and every question or order to the IME,
// including the IME status operations of the settings dialog.
#pragma once

#include <cstdint>

#include "engine/engine_state.h"
#include "engine/virtual_keys.h"

// IME conversion mode set when the IME is switched on: native + full shape +
// roman input (full-width hiragana typed in roman letters).
constexpr uint32_t kImeConversionHiraganaRoman = 25;
constexpr uint32_t kImeConversionNative = 1;
constexpr uint32_t kImeConversionRoman = 0x10;

void sendKeyDown(EngineState& engine, uint8_t vk);
void sendKeyUp(EngineState& engine, uint8_t vk);
void tapKey(EngineState& engine, uint8_t vk);
// Counted in backspacesInEvent.
void tapBackspace(EngineState& engine);
// Alt+Kanji: toggles the IME.
void imeToggleChord(EngineState& engine);

// The composition's length; 0 without an ImeControl.
uint32_t imeCompositionLength(EngineState& engine);

// Asks the IME whether it is open and, when it is, its conversion mode, and
// keeps the answers in imeStatus and imeConversion. A question that goes
// unanswered (or no ImeControl) sets kImeStatusUnanswered and leaves what
// was known before; an answered one clears it.
void refreshImeStatus(EngineState& engine);
// The same for the open state alone: one question.
void refreshImeOpen(EngineState& engine);

// What the IME said when it was last asked.
inline bool imeKnownOpen(const EngineState& engine) {
  return (engine.imeStatus & kImeStatusOpen) != 0;
}
// Open in a kana (native) conversion mode: kana toggle mode's slot 4.
inline bool imeInKanaMode(const EngineState& engine) {
  return imeKnownOpen(engine) && (engine.imeConversion & kImeConversionNative) != 0;
}
inline bool imeTakesKanaInput(const EngineState& engine) {
  return (engine.imeStatus & kImeStatusKanaInput) != 0;
}
inline bool imeLastUnanswered(const EngineState& engine) {
  return (engine.imeStatus & kImeStatusUnanswered) != 0;
}

// Opens a closed IME (hiragana, roman input) or closes an open one. An IME
// that does not say which it is counts as it was last known.
void switchIme(EngineState& engine);
