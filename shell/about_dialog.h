// The modal About dialog (dialog resource 103): the program's name, maker and
// web page, and the clean-up before an uninstall.
#pragma once

#include <windows.h>

INT_PTR CALLBACK aboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
