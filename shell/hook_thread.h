// The keyboard hook's own thread (desktop Windows). A low-level hook is
// called on the thread that installed it, whenever that thread takes its
// messages, and Windows removes the hook of a thread that keeps it waiting.
// The UI thread sits in dialogs, the file-open dialog, ShellExecute, COM,
// display changes and keymap loads; so the hook lives on a thread that does
// nothing else, at above-normal priority, with a bare message loop. It also
// runs the watchdog that re-installs a hook Windows removed, and forgets the
// keys held while the session was locked or another desktop had the input.
//
// The hook thread never waits on the UI thread: it only takes the engine
// lock, which the UI thread holds for short changes, and posts messages.
// Windows CE keeps one thread; none of this exists there.
#pragma once

#include <windows.h>

#ifndef _WIN32_WCE

// Starts the thread and waits until it takes requests; false when it could
// not be made (the hook is then installed on the calling thread, as on
// Windows CE).
bool startHookThread();
// Ends the thread; the hook must have been removed. Does nothing when no
// hook thread runs.
void stopHookThread();
bool hookThreadRunning();

// Runs `work(argument)` on the hook thread and returns its answer, or runs
// it on the calling thread when no hook thread runs. The caller must not
// hold the engine lock.
using HookThreadWork = LRESULT (*)(WPARAM argument);
LRESULT runOnHookThread(HookThreadWork work, WPARAM argument);

// The hook thread's window (tests send it session notifications).
HWND hookThreadWindow();

#endif
