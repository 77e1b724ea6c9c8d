// The modal advanced settings dialog (dialog resource 105): key swaps,
// rotation behaviour, keymap file and auto-start.
#pragma once

#include <windows.h>

INT_PTR CALLBACK advancedDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
