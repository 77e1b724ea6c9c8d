// Programs that keymap exec actions ask to start. The engine hands over the
// address of an exec record's strings, which a keymap reload may free before
// the main window gets its turn, and anyone can post the main window a
// command. So the strings are copied and converted here at once, and the
// posted command carries only a token that this table issued.
#pragma once

#include <cstdint>

constexpr int kLaunchTextUnits = 260;

struct LaunchRequest {
  wchar_t file[kLaunchTextUnits] = {};
  wchar_t parameters[kLaunchTextUnits] = {};
};

// Copies the program path and the argument string that follow each other at
// `execStrings` (each NUL-terminated, 8-bit OEM code page text) into a new
// request. Returns its token, or 0 when either string does not fit in
// kLaunchTextUnits UTF-16 units with its NUL (nothing is issued then).
uintptr_t issueLaunchRequest(const char* execStrings);

// Moves the request of `token` into `request` and forgets it: true exactly
// once for each issued token, false for anything else.
bool takeLaunchRequest(uintptr_t token, LaunchRequest& request);

// Forgets every pending request.
void clearLaunchRequests();
