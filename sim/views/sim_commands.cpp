#include "sim/views/sim_commands.h"

#include <cstdio>
#include <vector>

#include "keymap/host_keymap_platform.h"
#include "keymap/keymap_compiler.h"
#include "sim/device/sim_script.h"
#include "sim/views/event_listing.h"
#include "sim/views/keymap_diagnostics.h"
#include "sim/views/keymap_dump.h"
#include "sim/views/keymap_table.h"

namespace {

// Compiles `file` into `engine` and appends every diagnostic: each message,
// also those the program keeps back after a statement's first error, with
// its notes, and the warnings. True when there was no error.
bool compileAndReport(EngineState& engine, const std::string& file, std::string& report) {
  HostKeymapPlatform platform;
  loadKeymapFile(engine, platform, file);
  bool clean = true;
  for (const KeymapDiagnostic& diagnostic : platform.diagnostics()) {
    report += formatKeymapDiagnostic(file, diagnostic);
    if (!isKeymapWarning(diagnostic.kind)) clean = false;
  }
  return clean;
}

std::string printable(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '\n') {
      out += "\\n";
    } else {
      out += c;
    }
  }
  return out;
}

}  // namespace

int runCheckCommand(const SimCommandLine& line, SimOutput& output) {
  EngineState engine;
  setEngineDefaults(engine);
  const bool clean = compileAndReport(engine, line.file, output.out);
  if (clean) {
    output.out += "slots:";
    for (int slot = 0; slot < kKeymapSlots; ++slot) {
      if (engine.keymaps[slot].bytes != nullptr) output.out += " " + std::to_string(slot);
    }
    output.out += "\n";
  }
  clearKeymaps(engine);
  return clean ? 0 : 1;
}

int runDumpCommand(const SimCommandLine& line, SimOutput& output) {
  EngineState engine;
  setEngineDefaults(engine);
  const bool clean = compileAndReport(engine, line.file, output.err);
  for (int slot = 0; slot < kKeymapSlots; ++slot) {
    if (line.slot >= 0 && slot != line.slot) continue;
    const KeymapImage& image = engine.keymaps[slot];
    if (image.bytes == nullptr) {
      if (line.slot >= 0) output.out += "keymap " + std::to_string(slot) + ": empty\n";
      continue;
    }
    output.out += "keymap " + std::to_string(slot) + ":\n" + describeKeymapImage(image);
  }
  clearKeymaps(engine);
  return clean ? 0 : 1;
}

int runTableCommand(const SimCommandLine& line, SimOutput& output) {
  EngineState engine;
  setEngineDefaults(engine);
  const bool clean = compileAndReport(engine, line.file, output.err);
  for (int slot = 0; slot < kKeymapSlots; ++slot) {
    if (line.slot >= 0 && slot != line.slot) continue;
    if (line.slot < 0 && engine.keymaps[slot].bytes == nullptr) continue;
    output.out += formatKeymapTable(
        buildKeymapTable(line.file, slot, line.settings.options, line.settings.layout));
  }
  clearKeymaps(engine);
  return clean ? 0 : 1;
}

int runTypeCommand(const SimCommandLine& line, std::unique_ptr<DeviceIme> ime, SimOutput& output) {
  std::vector<ScriptStep> steps;
  std::string error;
  if (!parseScript(line.script, steps, error)) {
    output.err += "padquiltkana-sim: " + error + "\n";
    return 2;
  }
  SimDevice device(std::move(ime));
  // A keymap that is missing or has errors is reported, not typed with:
  // what the program would install then is not what the file says.
  const std::vector<std::string> messages = device.start(line.settings);
  for (const std::string& message : messages) {
    output.err += formatKeymapMessage(line.settings.keymapPath, message) + "\n";
  }
  if (!messages.empty()) return 1;
  if (line.events) {
    device.onDelivered = [&output](const SimEvent& event) {
      output.out += formatSimEvent(event) + "\n";
    };
    device.onImeSwitched = [&output](bool on) { output.out += formatImeSwitch(on) + "\n"; };
    device.onUntypable = [&output](char16_t character) {
      output.out += formatUntypable(character) + "\n";
    };
  }
  runScript(device, steps);
  if (line.events) {
    for (const auto& [command, param] : device.postedCommands()) {
      output.out += formatPostedCommand(command, param) + "\n";
    }
  }
  output.out += "text: " + printable(device.text()) + "\n";
  const std::string failure = device.ime().failure();
  if (!failure.empty()) {
    output.err += "padquiltkana-sim: " + failure + "\n";
    return 1;
  }
  return 0;
}
