// The lines of `padquiltkana-sim type --events`: every event that reaches
// the IME, in order, so that a reader or a script driving another IME has
// the exact key stream.
//
//   down 0x4B K           a key event the engine injected
//   pass down 0x27 Right  the user's own key, passed by the engine
//   ime on / ime off      the user's IME key
//   untypable ~           a character passed over: the layout has no key for it
#pragma once

#include <cstdint>
#include <string>

#include "sim/device/sim_device.h"

std::string formatSimEvent(const SimEvent& event);
std::string formatImeSwitch(bool on);
std::string formatUntypable(char16_t character);

// A window command the engine posted, as `type --events` lists it after the
// events: run "PROGRAM" "ARGUMENTS", or command NUMBER PARAMETER. The
// run-program parameter points at the program path inside the device's own
// live keymap image, followed by the argument string.
std::string formatPostedCommand(uint32_t command, uintptr_t param);

// One line read back: a key event or an IME switch.
struct ListedEvent {
  bool imeSwitch = false;
  bool imeOn = false;  // for an IME switch
  SimEvent key{false, 0};
};

// False for lines that are not events (run commands, the text line, junk).
bool parseListedEvent(const std::string& line, ListedEvent& out);
