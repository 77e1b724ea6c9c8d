// One running program per session. The running instance is found by its
// main window's class; on desktop Windows a named mutex of the session also
// marks it from the first moment, so that two starts a moment apart (an
// auto-start and a click, say) cannot both go on and install a hook: the
// later one waits for the earlier one's window and hands over to it.
#pragma once

#include <windows.h>

#ifndef _WIN32_WCE

// The mutex's name: "Local\" (this session) and the program's.
constexpr const wchar_t* kInstanceMutexName = L"Local\\padquiltkana";
// How long a later start waits for the earlier one's window.
constexpr DWORD kInstanceWaitMs = 10000;

// True when this process is the program's instance (it holds the mutex from
// now to its end); false when another process holds it.
bool claimSingleInstance();
// True while another process holds the mutex (it runs or is starting).
bool otherInstanceStarting();
// The running instance's main window (of class `windowClass`), waiting up to
// `waitMs` for it to appear; null when none appears.
HWND waitForRunningInstance(const wchar_t* windowClass, DWORD waitMs);
// Lets go of the mutex at the end of the run.
void releaseSingleInstance();

#endif
