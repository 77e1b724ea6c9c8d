// The commands of `padquiltkana-sim` that run to completion: check, dump and
// type. Output goes into strings so that the program and the tests share it.
#pragma once

#include <string>

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

// type: runs the script; with --events every injected event first; the last
// line is "text: " and what the user sees (a new line shows as \n).
int runTypeCommand(const SimCommandLine& line, SimOutput& output);
