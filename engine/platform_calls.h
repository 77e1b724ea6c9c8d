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

void sendKeyDown(EngineState& engine, uint8_t vk);
void sendKeyUp(EngineState& engine, uint8_t vk);
void tapKey(EngineState& engine, uint8_t vk);
// Counted in backspacesInEvent.
void tapBackspace(EngineState& engine);
// Alt+Kanji: toggles the IME.
void imeToggleChord(EngineState& engine);

// IME queries that read as closed / no composition without an ImeControl.
bool imeIsOpen(EngineState& engine);
uint32_t imeConversionMode(EngineState& engine);
uint32_t imeCompositionLength(EngineState& engine);

// Updates bit 0 of imeStatus from the IME's open state.
void refreshImeStatus(EngineState& engine);
// Opens a closed IME (hiragana, roman input) or closes an open one.
void switchIme(EngineState& engine);
