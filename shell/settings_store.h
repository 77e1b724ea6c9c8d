// The settings kept between runs (registry of the current user), the folder
// of the program's own files and the auto-start shortcut.
#pragma once

#include <windows.h>

#include "shell/shell_state.h"

// Key under HKEY_CURRENT_USER, and the maker's key that holds it.
constexpr const wchar_t* kSettingsKey = L"Software\\ZEF\\padquiltkana";
constexpr const wchar_t* kMakerKey = L"Software\\ZEF";
// The files beside the program: the program file that the auto-start
// shortcut starts, the default keymap and the manual.
constexpr const wchar_t* kProgramFileName = L"padquiltkanalt.exe";
constexpr const wchar_t* kDefaultKeymapFileName = L"defaultkeymap.txt";
constexpr const wchar_t* kManualFileName = L"padquiltkanalt.txt";
// Longest "Keymap" value read: 255 code units, so keymapPath keeps its NUL.
constexpr DWORD kKeymapValueMaxBytes = 510;

// The options before any are stored: the engine's defaults, and on desktop
// Windows the rotation behaviour "何もしない" (3), since a turned desktop
// display is a monitor, not a slid-out keyboard.
uint32_t firstStartOptions();

// Reads options, timeoutMs and keymapPath of shellState; missing or unreadable
// values keep what is there (the defaults at start-up).
void loadSettings();
// Writes options (without the run-time bits 16-23), timeoutMs and keymapPath.
void saveSettings();
// saveSettings when the settings are dirty; they are clean afterwards.
void saveDirtySettings();
// Removes the settings key, and the maker's key too when nothing else is in
// it, so that an uninstall leaves nothing behind.
void deleteSettingsKey();

// The settings of one state record, for callers that hold their own.
void loadSettingsInto(ShellState& shell);
void saveSettingsFrom(const ShellState& shell);

// output = the folder of `filePath` with its trailing backslash, then `name`.
// A path without a backslash stays whole. False, with an empty output, when
// the result would not fit.
bool folderWithFileName(wchar_t (&output)[kPathUnits], const wchar_t* filePath,
                        const wchar_t* name);
// output = the program file's folder, then `name` ("defaultkeymap.txt", ...).
// False, with an empty output, when the program's path came back cut short
// (its folder would be a wrong parent folder) or the result would not fit.
bool programFolderPath(wchar_t (&output)[kPathUnits], const wchar_t* name);

// Reads the program file's path as GetModuleFileNameW(nullptr, ...) does:
// the number of units written. Tests replace it; nullptr restores it.
using ProgramPathReader = DWORD (*)(wchar_t* buffer, DWORD units);
void useProgramPathReader(ProgramPathReader reader);
// Units offered for the program's path; a path that fills them is cut short.
constexpr DWORD kProgramPathUnits = 1024;

// Quote, program path, quote, space, -s: the longest path plus five units.
constexpr int kShortcutTargetUnits = kPathUnits + 5;
// output = "<programFolderPath("padquiltkanalt.exe")>" -s; false, with an
// empty output, when the program's path is unknown.
bool startupShortcutTarget(wchar_t (&output)[kShortcutTargetUnits]);

// output = the Startup folder followed by "\padquiltkana.lnk"; empty when the
// folder is unknown or the result would not fit.
void startupShortcutPath(wchar_t (&output)[kPathUnits]);
// False, creating nothing, when the program's path is unknown; the outcome
// of the creation itself is read back with startupShortcutExists.
bool createStartupShortcut();
void deleteStartupShortcut();
bool startupShortcutExists();
