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

// Forgets every key the engine records as held: the shell calls it when the
// session is unlocked and when the input desktop changes, since the key-ups
// of that time went elsewhere. The replacement a swap put down is released;
// the input in progress ends and no kana counts as typed last, as the text
// they refer to may have changed meanwhile.
void forgetHeldKeys(EngineState& engine);
