#include "sim/views/sim_command_line.h"

#include <cstdio>
#include <cstdlib>

#include "engine/engine_state.h"
#include "engine/option_table.h"
#include "sim/views/option_labels.h"

const char kSimUsage[] =
    "usage: padquiltkana-sim check FILE\n"
    "       padquiltkana-sim dump FILE [--slot N]\n"
    "       padquiltkana-sim table FILE [--slot N] [--options HEX] [--layout us|jp]\n"
    "       padquiltkana-sim type [OPTIONS] SCRIPT...\n"
    "       padquiltkana-sim live [OPTIONS]\n"
    "options: --keymap FILE  --mode toggle|2touch|none  --options HEX  --timeout MS\n"
    "         --ime on|off  --ime-engine emulation|mozc  --events (type only)\n"
    "         --layout us|jp (type, live, table): the keyboard's layout, US or\n"
    "         Japanese (JIS 106/109)\n"
    "script:  1-9 * 0 # keypad presses (100 ms each), > right arrow, C clear key,\n"
    "         +N wait N ms, vk:HH any virtual key, ime:on / ime:off\n"
    "         (quote * and # in the shell: '2*' '#')\n";

std::string simUsage() {
  std::string usage = kSimUsage;
  char text[256];
  std::snprintf(text, sizeof text,
                "--mode adds its bit to the default options 0x%X; --options HEX gives the\n"
                "whole option word instead, its bits labelled as in the settings dialogs:\n",
                kDefaultOptions);
  usage += text;
  for (const OptionRow& option : kOptionTable) {
    // "無し" has no bit, and run-time state is not an option.
    if (option.bits == 0 || option.storage != OptionStorage::kStored) continue;
    std::snprintf(text, sizeof text, "  0x%-6X %s\n", option.bits, option.label);
    usage += text;
    if (option.control == OptionControl::kComboBox) {
      const char* const* entries = kRotationBehaviourLabels;
      std::snprintf(text, sizeof text,
                    "           %X %s, 0x%X %s,\n"
                    "           0x%X %s, 0x%X %s\n",
                    rotationBehaviourBits(0), entries[0], rotationBehaviourBits(1), entries[1],
                    rotationBehaviourBits(2), entries[2], rotationBehaviourBits(3), entries[3]);
      usage += text;
    }
  }
  std::snprintf(text, sizeof text, "  0x%-6X the screen is turned (set by the program itself)\n",
                kSimScreenTurnedOption);
  usage += text;
  usage +=
      "--ime-engine mozc types through mozc, a real IME (package emacs-mozc-bin).\n"
      "Also: padquiltkana-sim --help | -h | help, padquiltkana-sim --version\n";
  return usage;
}

const char* simVersion() {
  return PQK_VERSION;
}

namespace {

bool parseUnsigned(const std::string& text, int base, unsigned long long limit,
                   unsigned long long& value) {
  if (text.empty() || text[0] == '-' || text[0] == '+') return false;
  char* end = nullptr;
  value = std::strtoull(text.c_str(), &end, base);
  return *end == '\0' && value <= limit;
}

}  // namespace

bool parseSimCommandLine(const std::vector<std::string>& args, SimCommandLine& line,
                         std::string& error, const std::string& defaultKeymap) {
  line = SimCommandLine{};
  if (args.empty()) {
    error = "no command";
    return false;
  }
  for (const std::string& arg : args) {
    if (arg == "--help" || arg == "-h") {
      line.command = "help";
      return true;
    }
    if (arg == "--version") {
      line.command = "version";
      return true;
    }
  }
  line.command = args[0];
  if (line.command == "help") return true;
  const bool table = line.command == "table";
  if (line.command != "check" && line.command != "dump" && line.command != "type" &&
      line.command != "live" && !table) {
    error = "unknown command '" + line.command + "'";
    return false;
  }
  const bool runs = line.command == "type" || line.command == "live";
  std::string mode = "toggle";
  bool optionsGiven = false;
  uint32_t options = 0;
  for (size_t i = 1; i < args.size(); ++i) {
    const std::string& arg = args[i];
    const bool hasValue = i + 1 < args.size();
    const std::string value = hasValue ? args[i + 1] : std::string();
    unsigned long long number = 0;
    if (arg.rfind("--", 0) != 0) {
      if (runs && line.command == "type") {
        line.script.push_back(arg);
      } else if (!runs && line.file.empty()) {
        line.file = arg;
      } else {
        error = "unexpected argument '" + arg + "'";
        return false;
      }
      continue;
    }
    if (arg == "--events" && line.command == "type") {
      line.events = true;
      continue;
    }
    if (!hasValue) {
      error = "option " + arg + " needs a value";
      return false;
    }
    ++i;
    if (arg == "--slot" && (line.command == "dump" || table)) {
      if (!parseUnsigned(value, 10, 9, number)) {
        error = "--slot takes a keymap number 0-9";
        return false;
      }
      line.slot = static_cast<int>(number);
    } else if (arg == "--keymap" && runs) {
      line.settings.keymapPath = value;
    } else if (arg == "--mode" && runs) {
      if (value != "toggle" && value != "2touch" && value != "none") {
        error = "--mode takes toggle, 2touch or none";
        return false;
      }
      mode = value;
    } else if (arg == "--options" && (runs || table)) {
      const std::string digits = value.rfind("0x", 0) == 0 ? value.substr(2) : value;
      if (!parseUnsigned(digits, 16, 0xFFFFFFFFull, number)) {
        error = "--options takes a hexadecimal option word";
        return false;
      }
      optionsGiven = true;
      options = static_cast<uint32_t>(number) & ~kSimScreenTurnedOption;
      line.settings.screenRotated = (number & kSimScreenTurnedOption) != 0;
    } else if (arg == "--layout" && (runs || table)) {
      if (value != "us" && value != "jp") {
        error = "--layout takes us or jp";
        return false;
      }
      line.settings.layout = value == "jp" ? SimLayout::kJis : SimLayout::kUs;
    } else if (arg == "--timeout" && runs) {
      if (!parseUnsigned(value, 10, 0x7FFFFFFF, number)) {
        error = "--timeout takes milliseconds";
        return false;
      }
      line.settings.timeoutMs = static_cast<int32_t>(number);
    } else if (arg == "--ime" && runs) {
      if (value != "on" && value != "off") {
        error = "--ime takes on or off";
        return false;
      }
      line.settings.imeOn = value == "on";
    } else if (arg == "--ime-engine" && runs) {
      if (value != "emulation" && value != "mozc") {
        error = "--ime-engine takes emulation or mozc";
        return false;
      }
      line.imeEngine = value == "mozc" ? SimImeEngine::kMozc : SimImeEngine::kEmulation;
    } else {
      error = "unknown option '" + arg + "' for " + line.command;
      return false;
    }
  }
  if (!runs && line.file.empty()) {
    error = line.command + " needs a keymap file";
    return false;
  }
  if (line.command == "type" && line.script.empty()) {
    error = "type needs a script";
    return false;
  }
  // The table picks each slot's input mode itself.
  if (table) line.settings.options = optionsGiven ? options : kDefaultOptions;
  if (runs) {
    const uint32_t modeBit = mode == "toggle" ? uint32_t{kOptionKanaToggle}
                                              : (mode == "2touch" ? uint32_t{kOptionTwoTouch} : 0u);
    line.settings.options = optionsGiven ? options : (kDefaultOptions | modeBit);
    if (line.settings.keymapPath.empty()) line.settings.keymapPath = defaultKeymap;
  }
  return true;
}
