// The command line of `padquiltkana-sim`.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "sim/device/sim_device.h"

// The IME at the end of the key stream of type and live.
enum class SimImeEngine {
  kEmulation,  // the simulator's own
  kMozc,       // mozc, a real IME, through mozc_emacs_helper
};

struct SimCommandLine {
  std::string command;   // "check", "dump", "table", "type", "live", "help" or "version"
  std::string file;      // the keymap file of check, dump and table
  int slot = -1;         // dump and table --slot N; -1 for every filled slot
  SimSettings settings;  // also the keyboard layout of type, live and table
  bool events = false;   // type --events
  SimImeEngine imeEngine = SimImeEngine::kEmulation;
  std::vector<std::string> script;
};

// The --options bit that starts the simulated device with its screen turned
// (the engine's screenRotated): never a bit of the stored option word.
constexpr uint32_t kSimScreenTurnedOption = 0x10000;

// Returns false with a message for anything it does not understand. --help,
// -h and help anywhere make the command "help", --version "version". Without
// --keymap, type and live get `defaultKeymap`.
bool parseSimCommandLine(const std::vector<std::string>& args, SimCommandLine& line,
                         std::string& error, const std::string& defaultKeymap = "");

// The usage: the commands, their options and script, then every bit of
// --options with its label in the settings dialogs.
extern const char kSimUsage[];
std::string simUsage();

// The version of padquiltkana, set once in the build.
const char* simVersion();
