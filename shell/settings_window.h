// The program in front and in the background. In front the main window
// carries its title and frames the settings dialog; in the background it has
// neither title nor style and is hidden, and the settings dialog is gone.
#pragma once

#include <windows.h>

constexpr const wchar_t* kMainWindowTitle = L"padquiltkana";

#ifdef _WIN32_WCE
// The device's window fills the screen and needs no frame.
constexpr DWORD kShownWindowStyle = WS_VISIBLE;
#else
// A desktop window is moved by its caption and hidden by its close box.
constexpr DWORD kShownWindowStyle = WS_VISIBLE | WS_CAPTION | WS_SYSMENU;
#endif

void showSettingsWindow(int showCommand);
void closeSettingsWindow();
void hideMainWindow();
// Shows the program in front with its settings dialog, as a second start
// does; while a modal window of the program is up, that window comes forward.
void bringProgramForward();

#ifndef _WIN32_WCE
// The settings dialog fills the main window's client area below the menu:
// the window takes the dialog's size plus its frame at `dpi`.
void fitMainWindowToSettings(UINT dpi);
#endif
