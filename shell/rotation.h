// Following the screen's turns: the keymap slot and, with rotation behaviour
// 1, the keyboard hook; and turning the screen for a keymap command.
#pragma once

#include <cstdint>

struct EngineState;

// Re-reads the orientation after a setting change and applies the rotation
// behaviour.
void checkRotation();

// The keyboard hook belongs installed except while rotation behaviour 1 has
// the screen turned.
bool keyHookWanted(const EngineState& engine);
// Installs a missing hook when it is wanted, silently: after the user chose
// another rotation behaviour while behaviour 1 had released it, and on every
// timer tick after a failed installation.
void restoreKeyHookIfWanted();

// Turns the screen: steps 0-3 choose 0/90/180/270 degrees, 4 and more turn
// one quarter further.
void rotateScreen(int step);
