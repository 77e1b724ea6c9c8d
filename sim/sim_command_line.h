// The command line of `padquiltkana-sim`.
#pragma once

#include <string>
#include <vector>

#include "sim/sim_device.h"

struct SimCommandLine {
  std::string command;  // "check", "dump", "table", "type" or "live"
  std::string file;     // the keymap file of check, dump and table
  int slot = -1;        // dump and table --slot N; -1 for every filled slot
  SimSettings settings;
  bool events = false;  // type --events
  std::vector<std::string> script;
};

// Input mode bits that --mode adds to the default options.
constexpr uint32_t kSimDefaultOptions = 0x4100;

// The default keymap: data/defaultkeymap.txt under the working folder, else
// defaultkeymap.txt beside the program, else the one of the source tree.
std::string defaultKeymapPath();

// Returns false with a message for anything it does not understand.
bool parseSimCommandLine(const std::vector<std::string>& args, SimCommandLine& line,
                         std::string& error);

extern const char kSimUsage[];
