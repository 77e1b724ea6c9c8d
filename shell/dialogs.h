// The settings dialog, the advanced settings dialog, the About dialog and the
// option handling they share.
#pragma once

#include <windows.h>

#include <cstdint>

#include "shell/win32_keymap_platform.h"

// Creates a modeless dialog from a dialog resource of the program.
HWND createDialogFromResource(int resourceId, HWND parent, DLGPROC procedure);
// Runs a modal dialog from a dialog resource; its result, or -1.
INT_PTR runDialogFromResource(int resourceId, HWND owner, DLGPROC procedure);

// Lays a dialog out the device's way (SHInitDialog with these flags).
void initDeviceDialog(HWND dialog, DWORD flags);

INT_PTR CALLBACK settingsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK advancedDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK aboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Sets every option control the dialog has from the current state.
void initOptionControls(HWND dialog);
// The option controls' WM_COMMAND handling; false for any other id. Any
// notification runs a control's row; EN_KILLFOCUS of the timeout field also
// shows the stored timeout again when the field's text was not taken.
bool handleOptionCommand(HWND dialog, int id, int notification = 0);
// Copies a check box's state into one option bit; always marks the settings
// dirty.
void setOptionFromCheckbox(HWND dialog, int id, uint32_t bit);
// Switches the input mode (0, kOptionKanaToggle or kOptionTwoTouch) as its
// radio button does, from outside the settings dialog; an open settings
// dialog shows the new mode.
void switchInputMode(uint32_t modeBits);
// Enables the mode-dependent controls by the input mode.
void updateControlEnabling(HWND dialog);
// Enables exactly one of the two auto-start buttons.
void updateAutoStartButtons(HWND dialog);
// Re-reads the IME state and shows it in the settings dialog, if present.
void refreshImeLabel();

// Keymap loads never run inside one another: while one runs (its file-open
// dialog or message boxes are up), a load asked for from another window or by
// a posted command is not started.

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
