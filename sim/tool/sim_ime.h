// The IME at the end of the terminal tool's key stream, as --ime-engine
// chooses it.
#pragma once

#include <memory>
#include <string>

#include "sim/device/device_ime.h"
#include "sim/mozc/mozc_helper.h"
#include "sim/views/sim_command_line.h"

// The emulation, or mozc on `helper`, which must outlive it. nullptr with a
// message when mozc cannot be started.
std::unique_ptr<DeviceIme> startSimIme(SimImeEngine engine, MozcHelper& helper, std::string& error);
