// Window messages from other processes are untrusted input. Any program on
// the desktop can send or post the program's windows any message with any
// parameters; the system itself sends only a few of them from outside. The
// guard stands in front of the main window, the icon's window and the three
// dialogs:
//
// - Messages another thread sends are answered at once. Those the program
//   accepts from outside (close, activation, setting and display changes, the
//   icon's events, the taskbar's return) are queued and carried out on the
//   program's own turn, never inside the sender's call; those that only the
//   program's own thread sends (WM_COMMAND, WM_DESTROY, input, timers, ...)
//   are refused; the rest (questions such as WM_GETTEXT) go on as before.
// - Posted messages pass a hook on the program's thread, for every message
//   loop on it (the program's own, the modal dialogs', message boxes' and
//   menus'): what no part of the system posts to such a window becomes
//   WM_NULL. Input counts only with its key or button really down.
//
// Windows CE keeps the plain handling: the guard is desktop only.
#pragma once

#include <windows.h>

#include <cstdint>

#ifndef _WIN32_WCE

enum class GuardedWindow : uint8_t { kMainWindow, kTrayWindow, kDialog };

// The program's windows tell the guard who they are when they are made and
// when they go. `callbackMessage` is a private message of the window that
// comes from outside (the notification-area icon's events), 0 for none.
void guardWindow(HWND window, GuardedWindow kind, UINT callbackMessage = 0);
void unguardWindow(HWND window);

// The posted-message hook of the calling thread; true when it is in place.
bool installMessageGuard();
void removeMessageGuard();

// At the top of a guarded window's procedure: true when the guard has dealt
// with the message, with `result` as its answer; the procedure then does
// nothing more.
bool guardMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
// The same for a dialog procedure: its answer and DWLP_MSGRESULT.
bool guardDialogMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Ends the program's message loop: the one WM_QUIT the guard lets through.
void postProgramQuit();
bool programQuitPosted();

// A dialog's WM_COMMAND as its controls send it: from the control of that id
// (lParam), or OK and cancel.
bool isControlCommand(HWND dialog, WPARAM wParam, LPARAM lParam);

// What becomes of a message another thread sends.
enum class ForeignMessage : uint8_t {
  kPass,    // handled as usual: a question, or nothing the program acts on
  kQueue,   // carried out on the program's own turn
  kRefuse,  // answered with 0, nothing done
};
ForeignMessage foreignMessageRule(GuardedWindow kind, UINT callbackMessage, UINT message,
                                  WPARAM wParam);
// Whether a message posted to such a window may be handled; key and button
// messages also need the key or button down (`inputDown`).
bool acceptsPostedMessage(GuardedWindow kind, UINT callbackMessage, UINT message, WPARAM wParam,
                          LPARAM lParam, bool inputDown);

#endif
