// What the end-to-end helpers find of the running padquiltkana from another
// process: its main window, its dialogs (each known by a control only it
// has) and the texts of its windows.
#pragma once

#include <windows.h>

#include <string>

HWND mainWindow();
// A dialog name of the command line: settings, advanced or about; exits with
// 2 for any other name.
int dialogMarker(const char* name);
// A visible dialog of the program's process that holds the marker control,
// or null.
HWND findDialog(const char* name);

std::string utf8(const wchar_t* text);
// The whole text of a window, however long (WM_GETTEXT with a time limit).
std::wstring wideText(HWND window);
std::string windowText(HWND window);
