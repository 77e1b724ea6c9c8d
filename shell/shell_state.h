// The shell's single state record: the window handles, the hook and watcher
// handles, the keymap path and the engine state it owns.
#pragma once

#include <windows.h>

#include <cstdint>

#include "engine/engine_state.h"
#include "shell/ce_compat.h"

// Length of every path buffer of the shell, in UTF-16 code units with the NUL.
constexpr int kPathUnits = 256;

// Bits of ShellState::appFlags.
enum AppFlagBits : uint32_t {
  kAppSettingsShown = 0x01,   // the settings dialog exists and the main window is visible
  kAppCloseRequested = 0x02,  // this start only asks a running instance to quit
  kAppStartHidden = 0x04,     // start hidden, without the settings dialog
  kAppRunning = 0x10,         // activation changes are acted on
  kAppSettingsDirty = 0x20,   // the registry copy is out of date
  kAppAdvancedOpen = 0x40,    // the advanced dialog's deactivation keeps the settings dialog
};

struct ShellState {
  HINSTANCE instance = nullptr;
  uint32_t appFlags = 0;
  HWND mainWnd = nullptr;
  HWND menuBar = nullptr;              // null if its creation failed
  HWND settingsDialog = nullptr;       // meaningful only while kAppSettingsShown is set
  uint32_t timerActive = 0;            // 1 while timer 1 of the main window runs
  HHOOK hookHandle = nullptr;          // null = no keyboard hook installed
  HREGNOTIFY watcherHandle = nullptr;  // null = no SlidingOut watcher
  SHACTIVATEINFO activateInfo = {};
#ifndef _WIN32_WCE
  HWND trayWindow = nullptr;  // receives the notification-area icon's clicks
#endif
  // NUL-terminated; empty = the default keymap beside the program.
  wchar_t keymapPath[kPathUnits] = {};
  EngineState engine;
};

// The program's one shell state.
extern ShellState shellState;
