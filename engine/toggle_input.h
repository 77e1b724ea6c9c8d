// Toggle (multi-tap) and 2-touch (pager) input over the keys of the current
// keymap.
#pragma once

#include <cstdint>

#include "engine/engine_state.h"

// A keypad key-down of `column` whose key record in currentKeymap is `key`.
void pressKeypadKey(EngineState& engine, int column, const KeyRecord& key, uint32_t time);
void toggleStep(EngineState& engine, int column, const KeyRecord& key, uint32_t time);
void reverseToggleStep(EngineState& engine, int column, const KeyRecord& key, uint32_t time,
                       bool orTwoTouch);
void nextEntryOrElse(EngineState& engine, int column, const KeyRecord& key, uint32_t time,
                     bool orTwoTouch);
void previousEntryOrElse(EngineState& engine, int column, const KeyRecord& key, uint32_t time,
                         bool orTwoTouch);
void beginPair(EngineState& engine, int column);
