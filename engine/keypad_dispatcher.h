// The keypad dispatcher: decides what a key event means while an input mode
// is on.
#pragma once

#include <cstdint>

#include "engine/engine_state.h"

// Returns true to swallow the event, false to pass it on.
bool dispatchKeypadEvent(EngineState& engine, uint32_t scanCode, uint32_t vk, uint32_t message,
                         uint32_t time);
