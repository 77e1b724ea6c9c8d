// Loading keymap files from the dialogs, the menu and at start-up.
//
// Keymap loads never run inside one another: while one runs (its file-open
// dialog or message boxes are up), a load asked for from another window or by
// a posted command is not started.
#pragma once

#include <windows.h>

#include "shell/win32_keymap_platform.h"

// Optionally asks for a keymap file (cancel changes nothing), then stores and
// shows the path, marks the settings dirty and loads the keymaps. The file
// dialog and the messages belong to `dialog`, or to the main window.
void loadKeymapInteractive(HWND dialog, bool ask);
// "defaultに戻す": empties the path, then loadKeymapInteractive without asking.
void loadDefaultKeymapInteractive(HWND dialog);
// Replaces the Win32 file reading and message boxes of keymap loads (tests);
// nullptr restores them.
void useKeymapPlatform(Win32KeymapPlatform* platform);
// Loads the keymap file of keymapPath, or the default file beside the program
// when the path is empty; its messages belong to `owner`.
void loadConfiguredKeymaps(HWND owner);
