// The keypad dispatcher: decides what a key event means while an input mode
// is on.
#pragma once

#include <cstdint>

#include "engine/engine_state.h"
#include "engine/key_message.h"

// Returns true to swallow the event, false to pass it on.
bool dispatchKeypadEvent(EngineState& engine, const IncomingKeyEvent& event);
