// The program's dialogs made from its dialog resources, and the device's
// dialog layout.
#pragma once

#include <windows.h>

// Creates a modeless dialog from a dialog resource of the program.
HWND createDialogFromResource(int resourceId, HWND parent, DLGPROC procedure);
// Runs a modal dialog from a dialog resource; its result, or -1.
INT_PTR runDialogFromResource(int resourceId, HWND owner, DLGPROC procedure);

// Lays a dialog out the device's way (SHInitDialog with these flags).
void initDeviceDialog(HWND dialog, DWORD flags);
