// The commands of `padquiltkana-sim` that run to completion: check, dump and
// type. Output goes into strings so that the program and the tests share it.
#pragma once

#include <memory>
#include <string>

#include "sim/device_ime.h"
#include "sim/mozc_helper.h"
#include "sim/sim_command_line.h"

struct SimOutput {
  std::string out;  // standard output
  std::string err;  // standard error
};

// check: every message of the compiler as "FILE:LINE: TEXT" / "FILE: TEXT"
// lines (LINE as an editor counts), with notes and warnings; without an error
// "slots: " and the filled slot numbers. Exit code 1 on any error; warnings
// leave it 0.
int runCheckCommand(const SimCommandLine& line, SimOutput& output);

// dump: the compiled images, decoded.
int runDumpCommand(const SimCommandLine& line, SimOutput& output);

// table: what each key of every filled slot (or of --slot N) types, found by
// pressing the keys; the compiler's messages go to standard error.
int runTableCommand(const SimCommandLine& line, SimOutput& output);

// The IME of a type or live run: the emulation, or mozc on `helper`, which
// must outlive it. nullptr with a message when mozc cannot be started.
std::unique_ptr<DeviceIme> startSimIme(SimImeEngine engine, MozcHelper& helper, std::string& error);

// type: runs the script (exit code 1, nothing typed, when the keymap has
// messages); with --events every event that reaches the IME
// first (see event_listing.h); the last line is "text: " and what the user
// sees (a new line shows as \n).
int runTypeCommand(const SimCommandLine& line, SimOutput& output);
