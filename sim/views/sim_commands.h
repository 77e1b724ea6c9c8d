// The commands of `padquiltkana-sim` that run to completion: check, dump,
// table and type, on any platform. Output goes into strings so that the
// program and the tests share it.
#pragma once

#include <memory>
#include <string>

#include "sim/device/device_ime.h"
#include "sim/views/sim_command_line.h"

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

// type: runs the script on a device with `ime` (exit code 1, nothing typed,
// when the keymap has messages); with --events every event that reaches the
// IME first (see event_listing.h); the last line is "text: " and what the
// user sees (a new line shows as \n). Which IME the command line asks for is
// the caller's to start.
int runTypeCommand(const SimCommandLine& line, std::unique_ptr<DeviceIme> ime, SimOutput& output);
