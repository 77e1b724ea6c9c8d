// The keypad dispatcher: decides what a key event means while an input mode
// is on.
#pragma once

#include <cstdint>

#include "engine/engine_state.h"
#include "engine/key_message.h"

// Returns true to swallow the event, false to pass it on.
bool dispatchKeypadEvent(EngineState& engine, const IncomingKeyEvent& event);

// Kana toggle mode, screen not rotated, key-downs only: slot 4 while the IME
// is open in native (kana) conversion mode, slot 5 otherwise. The input state
// carries over between the two.
void followImeKeymap(EngineState& engine, uint32_t message);
