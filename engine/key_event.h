// The engine's front door: every hooked key event enters here, goes to the
// keypad dispatcher while an input mode is on, and meets the Ctrl/CapsLock
// and Esc/half-width swaps.
#pragma once

#include <cstdint>

#include "engine/engine_state.h"
#include "engine/key_message.h"
#include "engine/platform_calls.h"

// Handles one low-level key event; true = swallow, false = pass.
bool handleKeyEvent(EngineState& engine, const IncomingKeyEvent& event);

// Sets heldModifiers from the keys the system holds down: the Shift and Ctrl
// keys passed to it, and the keys a swap turned into Ctrl.
void trackModifiers(EngineState& engine);

// Replaces a swapped key with its partner; true = replaced (swallow).
bool applyKeySwaps(EngineState& engine, const IncomingKeyEvent& event);

// Injects vk in the direction of `message`; true if something was injected.
bool replayKeyAs(EngineState& engine, uint8_t vk, uint32_t message);
