// Screen turns that keymap rotate actions ask for. The engine posts them to
// the main window as a command, which any process can post too: on desktop
// Windows only a turn the engine asked for, and each once, is carried out.
#pragma once

#include <cstdint>

// The engine posts a turn by `step` (0-255).
void noteRotationRequest(uintptr_t step);
// True, once, for each noted turn of that step.
bool takeRotationRequest(uintptr_t step);
void clearRotationRequests();
