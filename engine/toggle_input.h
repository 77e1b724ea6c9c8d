// Toggle (multi-tap) and 2-touch (pager) input over the keys of the current
// keymap.
#pragma once

#include <cstdint>

#include "engine/engine_state.h"

// A keypad key-down of `column` whose key record in currentKeymap is `key`.
void pressKeypadKey(EngineState& engine, int column, const KeyRecord& key, uint32_t time);
