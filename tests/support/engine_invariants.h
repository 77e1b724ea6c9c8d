// The engine's invariants: what holds between any two key events, whatever
// came before (keymap reloads, option changes, slot switches, wild time
// stamps). The engine fuzzer checks them after every step, the engine's
// property test after every event.
#pragma once

#include <string>

#include "engine/engine_state.h"

// "" when every invariant holds, else the first one broken, in words.
std::string brokenEngineInvariant(const EngineState& engine);
