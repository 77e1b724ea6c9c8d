#include "sim/views/event_listing.h"

#include <cstdio>
#include <cstdlib>

#include "engine/action_record.h"
#include "engine/key_names.h"

std::string formatSimEvent(const SimEvent& event) {
  char hex[8];
  std::snprintf(hex, sizeof hex, "0x%02X", event.vk);
  return std::string(event.passed ? "pass " : "") + (event.down ? "down " : "up ") + hex + " " +
         virtualKeyName(event.vk);
}

std::string formatImeSwitch(bool on) {
  return on ? "ime on" : "ime off";
}

std::string formatUntypable(char16_t character) {
  if (character > 0x20 && character < 0x7F) {
    return "untypable " + std::string(1, static_cast<char>(character));
  }
  char code[16];
  std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(character));
  return std::string("untypable ") + code;
}

std::string formatPostedCommand(uint32_t command, uintptr_t param) {
  if (command == kCommandRunProgram && param != 0) {
    const char* program = reinterpret_cast<const char*>(param);
    return "run \"" + std::string(program) + "\" \"" + execArgumentsAfter(program) + "\"";
  }
  return "command " + std::to_string(command) + " " + std::to_string(param);
}

bool parseListedEvent(const std::string& line, ListedEvent& out) {
  out = ListedEvent{};
  if (line == "ime on" || line == "ime off") {
    out.imeSwitch = true;
    out.imeOn = line == "ime on";
    return true;
  }
  std::string rest = line;
  if (rest.rfind("pass ", 0) == 0) {
    out.key.passed = true;
    rest.erase(0, 5);
  }
  if (rest.rfind("down 0x", 0) == 0) {
    out.key.down = true;
    rest.erase(0, 5);
  } else if (rest.rfind("up 0x", 0) == 0) {
    rest.erase(0, 3);
  } else {
    return false;
  }
  char* end = nullptr;
  const unsigned long vk = std::strtoul(rest.c_str(), &end, 16);
  if (end != rest.c_str() + 4 || vk > 0xFF || (*end != ' ' && *end != '\0')) return false;
  out.key.vk = static_cast<uint8_t>(vk);
  return true;
}
