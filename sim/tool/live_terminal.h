// `padquiltkana-sim live`: the simulated device in an interactive terminal,
// its keys read one at a time (views/live_input.h says what each is) and the
// screen drawn anew after each read.
#pragma once

#include <string>

#include "sim/device/sim_device.h"

// Runs until Ctrl-D, Ctrl-C or the end of input; returns the exit code.
int runLive(SimDevice& device, const std::string& keymapPath);
