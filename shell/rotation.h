// Following the screen's turns: the keymap slot and, with rotation behaviour
// 1, the keyboard hook; and turning the screen for a keymap command.
#pragma once

// Re-reads the orientation after a setting change and applies the rotation
// behaviour.
void checkRotation();

// Turns the screen: steps 0-3 choose 0/90/180/270 degrees, 4 and more turn
// one quarter further.
void rotateScreen(int step);
