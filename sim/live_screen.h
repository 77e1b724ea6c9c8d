// What `padquiltkana-sim live` shows, in the program's and the manual's
// words: the input mode and options as the settings dialog labels them, the
// keymap as キーマップN, the IME state, the candidates of the key being
// toggled, the forms that post-conversion (*) steps through and the row of
// a pending first stroke (一打目), each with the current one in [ ].
#pragma once

#include <string>

#include "sim/sim_device.h"

// The state lines, without the text.
std::string describeInputState(const SimDevice& device);

// The whole screen as plain text (no terminal control codes).
std::string liveScreen(const SimDevice& device, const std::string& keymapPath);
