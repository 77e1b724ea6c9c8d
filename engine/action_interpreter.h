// Carries out the action records of a keymap image.
#pragma once

#include <cstdint>

#include "engine/engine_state.h"

// Runs one action record (kind byte first) of a live keymap image; true when
// it typed anything (a character, a raw key press, a char list step).
bool executeAction(EngineState& engine, const uint8_t* record);

// True for an action record that selects another keymap (commands 1 and 4).
bool switchesKeymap(const uint8_t* record);
