// The main window: single instance, menu bar, the menu's and the engine's
// commands and the orderly end. Its look in front and in the background is
// settings_window.h's.
#pragma once

#include <windows.h>

#include "engine/platform.h"

constexpr const wchar_t* kMainWindowClass = L"padQuiltKana";
constexpr UINT_PTR kHookTimerId = 1;
constexpr UINT kHookTimerPeriodMs = 200;
// Desktop: fits the window around the settings dialog once more after a DPI
// change.
constexpr UINT_PTR kFitTimerId = 2;
constexpr int kMenuBarHeight = 26;

// True when this process has a main window and goes on running; false when
// another instance was found (and asked to quit or brought forward) or the
// window could not be created.
bool createMainWindow(HINSTANCE instance, int showCommand);
LRESULT CALLBACK mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
HWND createMenuBar(HWND window);

// The engine's window commands, posted to the main window. A run-program
// request is copied at once and posted as a launch token.
struct MainWindowCommandSink final : WindowCommandSink {
  void postWindowCommand(uint32_t command, uintptr_t param) override;
};
MainWindowCommandSink& mainWindowCommandSink();
