// padquiltkana-sim: the key engine and the keymap compiler on Linux, with an
// emulated keyboard and IME that turn the injected keys into text.
#include <cstdio>
#include <string>
#include <vector>

#include "sim/tool/default_keymap.h"
#include "sim/tool/live_terminal.h"
#include "sim/tool/sim_ime.h"
#include "sim/views/keymap_diagnostics.h"
#include "sim/views/sim_command_line.h"
#include "sim/views/sim_commands.h"

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  SimCommandLine line;
  std::string error;
  if (!parseSimCommandLine(args, line, error, defaultKeymapPath())) {
    std::fprintf(stderr, "padquiltkana-sim: %s\n%s", error.c_str(), simUsage().c_str());
    return 2;
  }
  if (line.command == "help") {
    std::fputs(simUsage().c_str(), stdout);
    return 0;
  }
  if (line.command == "version") {
    std::printf("padquiltkana-sim %s\n", simVersion());
    return 0;
  }
  if (line.command == "live") {
    MozcHelper mozc;
    std::unique_ptr<DeviceIme> ime = startSimIme(line.imeEngine, mozc, error);
    if (ime == nullptr) {
      std::fprintf(stderr, "padquiltkana-sim: %s\n", error.c_str());
      return 1;
    }
    SimDevice device(std::move(ime));
    // A keymap that is missing or has errors is reported, not typed with.
    const std::vector<std::string> messages = device.start(line.settings);
    for (const std::string& message : messages) {
      std::fprintf(stderr, "%s\n", formatKeymapMessage(line.settings.keymapPath, message).c_str());
    }
    if (!messages.empty()) return 1;
    return runLive(device, line.settings.keymapPath);
  }
  SimOutput output;
  int code = 0;
  if (line.command == "check") {
    code = runCheckCommand(line, output);
  } else if (line.command == "dump") {
    code = runDumpCommand(line, output);
  } else if (line.command == "table") {
    code = runTableCommand(line, output);
  } else {
    MozcHelper mozc;
    std::unique_ptr<DeviceIme> ime = startSimIme(line.imeEngine, mozc, error);
    if (ime == nullptr) {
      std::fprintf(stderr, "padquiltkana-sim: %s\n", error.c_str());
      return 1;
    }
    code = runTypeCommand(line, std::move(ime), output);
  }
  std::fputs(output.out.c_str(), stdout);
  std::fputs(output.err.c_str(), stderr);
  if (code == 2) std::fputs(simUsage().c_str(), stderr);
  return code;
}
