// The modeless settings dialog (dialog resource 104) that fills the main
// window while the program is in front.
#pragma once

#include <windows.h>

INT_PTR CALLBACK settingsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
