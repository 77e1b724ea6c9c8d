// Windows removes a low-level keyboard hook that keeps it waiting longer
// than it allows (a busy machine, a hook thread held up) and tells nobody:
// the program would run on while no key reaches the engine. The watchdog
// compares the newest keyboard input with the hook's last call: keys typed
// more than about a second after the hook last ran mean the hook is gone,
// and the hook thread installs it again. The input comes from raw input
// (keyboards only, every process's keys); where that cannot be had, from
// GetLastInputInfo, which counts the mouse too and may re-install a working
// hook now and then.
#pragma once

#include <windows.h>

#include <cstdint>

#ifndef _WIN32_WCE

// Keyboard input this long after the hook's last call means the hook missed it.
constexpr uint32_t kHookSilenceMs = 1000;
// How often the hook thread looks.
constexpr UINT kWatchdogPeriodMs = 250;

// The hook ran (any call, the program's own events included).
void noteHookCall(uint32_t time);
// The system saw keyboard input at `time`.
void noteKeyboardInput(uint32_t time);
// Both times start again at `now`: the hook was just installed.
void restartWatchdog(uint32_t now);
// True when keyboard input came kHookSilenceMs or more after the hook's last
// call.
bool hookMissedInput();

// Asks for raw keyboard input at `window` (a window of the hook thread),
// whatever window has the focus; false when the system refuses, and the
// watchdog then reads GetLastInputInfo on each look.
bool watchKeyboardInput(HWND window);
void stopWatchingKeyboardInput();
// Called on each look: takes GetLastInputInfo's time when raw input is not
// watched.
void readInputClock();

#endif
