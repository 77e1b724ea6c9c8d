// The main window: single instance, the activation rule, its commands, the
// timer's hook rule and the end of a run.
#include "shell/main_window.h"

#include <cwchar>
#include <string>

#include "shell/display_orientation.h"
#include "shell/key_hook.h"
#include "shell/keymap_loading.h"
#include "shell/launch_requests.h"
#include "shell/program_messages.h"
#include "shell/program_run.h"
#include "shell/resource_ids.h"
#include "shell/settings_store.h"
#include "shell/settings_window.h"
#include "shell/utf8_text.h"
#include "shell/win32_keymap_platform.h"
#include "tests/shell/app_test_support.h"
#include "tests/shell/id_names.h"

namespace {

bool settingsKeyExists() {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
    return false;
  }
  RegCloseKey(key);
  return true;
}

class MainWindowTest : public ShellAppTest {
 protected:
  // A running program in front, as after start-up.
  HWND start() {
    EXPECT_TRUE(createMainWindow(shellState.instance, SW_SHOW));
    shellState.appFlags |= kAppRunning;
    showSettingsWindow(SW_SHOW);
    return shellState.mainWnd;
  }
  void deactivate() { SendMessageW(shellState.mainWnd, WM_ACTIVATE, WA_INACTIVE, 0); }
  void activate() { SendMessageW(shellState.mainWnd, WM_ACTIVATE, WA_ACTIVE, 0); }
  bool flag(uint32_t bit) const { return (shellState.appFlags & bit) != 0; }
};

TEST_F(MainWindowTest, StartsWithTitleMenuAndSettingsDialog) {
  HWND window = start();
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(FindWindowW(L"padQuiltKana", nullptr), window);
  wchar_t title[64] = {};
  GetWindowTextW(window, title, 64);
  EXPECT_STREQ(title, L"padquiltkana");
  EXPECT_NE(shellState.menuBar, nullptr);
  EXPECT_TRUE(flag(kAppSettingsShown));
  ASSERT_NE(shellState.settingsDialog, nullptr);
  EXPECT_EQ(GetParent(shellState.settingsDialog), window);
  EXPECT_NE(GetDlgItem(shellState.settingsDialog, IDC_TEST_FIELD), nullptr);
  EXPECT_EQ(shellState.activateInfo.cbSize, sizeof(SHACTIVATEINFO));
  // A desktop window with a caption and a close box, as large as its dialog.
  const LONG style = GetWindowLongW(window, GWL_STYLE);
  EXPECT_EQ(style & WS_CAPTION, WS_CAPTION);
  EXPECT_TRUE(style & WS_SYSMENU);
  RECT client;
  GetClientRect(window, &client);
  RECT dialog;
  GetWindowRect(shellState.settingsDialog, &dialog);
  EXPECT_EQ(client.right, dialog.right - dialog.left);
  EXPECT_EQ(client.bottom, dialog.bottom - dialog.top);
  // Sent to the background and back, it has its frame again.
  closeSettingsWindow();
  EXPECT_EQ(GetWindowLongW(window, GWL_STYLE) & WS_CAPTION, 0);
  showSettingsWindow(SW_SHOW);
  EXPECT_EQ(GetWindowLongW(window, GWL_STYLE) & WS_CAPTION, WS_CAPTION);
  GetClientRect(window, &client);
  EXPECT_EQ(client.bottom, dialog.bottom - dialog.top);
}

int iconWidth(HICON icon) {
  ICONINFO info = {};
  if (icon == nullptr || !GetIconInfo(icon, &info)) return 0;
  BITMAP bitmap = {};
  GetObjectW(info.hbmColor != nullptr ? info.hbmColor : info.hbmMask, sizeof(bitmap), &bitmap);
  if (info.hbmColor != nullptr) DeleteObject(info.hbmColor);
  if (info.hbmMask != nullptr) DeleteObject(info.hbmMask);
  return bitmap.bmWidth;
}

HICON windowIcon(HWND window, WPARAM which) {
  return reinterpret_cast<HICON>(SendMessageW(window, WM_GETICON, which, 0));
}

TEST_F(MainWindowTest, DpiChangeTakesThePlaceFitsTheDialogAndDrawsTheIconsForTheNewDpi) {
  HWND window = start();
  HDC screen = GetDC(nullptr);
  const int systemDpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  ASSERT_EQ(systemDpi, 96) << "the test prefix runs at 100 %";
  EXPECT_EQ(iconWidth(windowIcon(window, ICON_SMALL)), 16);
  EXPECT_EQ(iconWidth(windowIcon(window, ICON_BIG)), 32);

  // Moved to a 150 % monitor. The suggested rectangle is the old one scaled,
  // which need not hold the dialog at the new DPI: the place is taken, the
  // size follows the dialog.
  RECT suggested = {120, 80, 120 + 60, 80 + 40};
  SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
  RECT place;
  GetWindowRect(window, &place);
  EXPECT_EQ(place.left, 120);
  EXPECT_EQ(place.top, 80);
  RECT client;
  GetClientRect(window, &client);
  RECT dialog;
  GetWindowRect(shellState.settingsDialog, &dialog);
  EXPECT_EQ(client.right, dialog.right - dialog.left);
  EXPECT_EQ(client.bottom, dialog.bottom - dialog.top);
  EXPECT_EQ(iconWidth(windowIcon(window, ICON_SMALL)), 24);
  EXPECT_EQ(iconWidth(windowIcon(window, ICON_BIG)), 48);
  // The fit once more after the dialog's own scaling keeps it so.
  SendMessageW(window, WM_TIMER, kFitTimerId, 0);
  GetClientRect(window, &client);
  EXPECT_EQ(client.bottom, dialog.bottom - dialog.top);
}

TEST_F(MainWindowTest, SecondInstanceFindsTheFirstAndStops) {
  HWND window = start();
  const ShellState first = shellState;
  shellState.appFlags = 0;
  EXPECT_FALSE(createMainWindow(shellState.instance, SW_SHOW));
  EXPECT_EQ(FindWindowW(L"padQuiltKana", nullptr), window);
  EXPECT_EQ(IsWindow(window), TRUE);
  shellState = first;
}

TEST_F(MainWindowTest, CloseRequestPostsQuitToTheRunningInstance) {
  HWND window = start();
  const ShellState first = shellState;
  shellState.appFlags = kAppCloseRequested;
  EXPECT_FALSE(createMainWindow(shellState.instance, SW_SHOW));
  shellState = first;
  MSG message;
  ASSERT_TRUE(PeekMessageW(&message, window, WM_COMMAND, WM_COMMAND, PM_REMOVE));
  EXPECT_EQ(NamedId(message.wParam), NamedId(kCommandQuit));
  EXPECT_EQ(message.lParam, 0);
  DispatchMessageW(&message);
  EXPECT_FALSE(IsWindow(window));
  EXPECT_FALSE(flag(kAppSettingsShown));
}

TEST_F(MainWindowTest, CloseRequestWithoutAnInstanceCreatesNothing) {
  shellState.appFlags = kAppCloseRequested | kAppStartHidden;
  EXPECT_FALSE(createMainWindow(shellState.instance, SW_SHOW));
  EXPECT_EQ(shellState.mainWnd, nullptr);
  EXPECT_EQ(FindWindowW(L"padQuiltKana", nullptr), nullptr);
}

TEST_F(MainWindowTest, StartHiddenLeavesNoTitleAndNoDialog) {
  shellState.appFlags = kAppStartHidden;
  ASSERT_TRUE(createMainWindow(shellState.instance, SW_SHOW));
  EXPECT_FALSE(IsWindowVisible(shellState.mainWnd));
  EXPECT_EQ(GetWindowTextLengthW(shellState.mainWnd), 0);
  EXPECT_FALSE(flag(kAppSettingsShown));
  // Activation brings the settings dialog back.
  shellState.appFlags |= kAppRunning;
  activate();
  EXPECT_TRUE(flag(kAppSettingsShown));
  EXPECT_TRUE(IsWindowVisible(shellState.mainWnd));
  EXPECT_FALSE(IsIconic(shellState.mainWnd));
}

TEST_F(MainWindowTest, ActivationIgnoredBeforeRunning) {
  ASSERT_TRUE(createMainWindow(shellState.instance, SW_SHOW));
  activate();
  EXPECT_FALSE(flag(kAppSettingsShown));
}

TEST_F(MainWindowTest, DeactivationClosesTheSettingsAndSavesDirtyOnes) {
  start();
  shellState.engine.options |= kOptionAutoAdvance;
  shellState.appFlags |= kAppSettingsDirty;
  deactivate();
  EXPECT_FALSE(flag(kAppSettingsShown));
  EXPECT_EQ(shellState.settingsDialog, nullptr);
  EXPECT_FALSE(flag(kAppSettingsDirty));
  EXPECT_FALSE(IsWindowVisible(shellState.mainWnd));
  EXPECT_EQ(GetWindowTextLengthW(shellState.mainWnd), 0);
  ShellState loaded;
  loadSettingsInto(loaded);
  EXPECT_EQ(loaded.engine.options & kOptionAutoAdvance, uint32_t{kOptionAutoAdvance});
}

TEST_F(MainWindowTest, CleanDeactivationWritesNothing) {
  start();
  deactivate();
  EXPECT_FALSE(flag(kAppSettingsShown));
  EXPECT_FALSE(settingsKeyExists());
}

TEST_F(MainWindowTest, AdvancedDialogDeactivationKeepsTheSettings) {
  start();
  shellState.appFlags |= kAppAdvancedOpen | kAppSettingsDirty;
  deactivate();
  EXPECT_TRUE(flag(kAppSettingsShown));
  EXPECT_FALSE(flag(kAppAdvancedOpen));
  EXPECT_TRUE(flag(kAppSettingsDirty));
  EXPECT_FALSE(settingsKeyExists());
  deactivate();  // the next one closes
  EXPECT_FALSE(flag(kAppSettingsShown));
  EXPECT_TRUE(settingsKeyExists());
}

// A run-program request that leaves a marker file when it really runs.
struct MarkerLaunch {
  std::string markerPath;
  std::string execBytes;
  MarkerLaunch() {
    char folder[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, folder);
    markerPath = std::string(folder) + "pqk_launch_marker.txt";
    DeleteFileA(markerPath.c_str());
    execBytes = std::string("cmd.exe") + '\0' + "/c echo launched>\"" + markerPath + "\"" + '\0';
  }
  ~MarkerLaunch() { DeleteFileA(markerPath.c_str()); }
  bool ran(int waitMs) const {
    for (int waited = 0; waited <= waitMs; waited += 100) {
      if (GetFileAttributesA(markerPath.c_str()) != INVALID_FILE_ATTRIBUTES) return true;
      Sleep(100);
    }
    return false;
  }
};

TEST_F(MainWindowTest, OnlyIssuedRunProgramRequestsStartAndOnlyOnce) {
  HWND window = start();
  MarkerLaunch launch;
  const uintptr_t token = issueLaunchRequest(launch.execBytes.c_str());
  ASSERT_NE(token, 0u);
  // Another process cannot know a token; an address or a guess is ignored.
  for (LPARAM forged :
       {LPARAM{0}, LPARAM{1}, static_cast<LPARAM>(token + 1), static_cast<LPARAM>(0x12345678),
        reinterpret_cast<LPARAM>(launch.execBytes.c_str())}) {
    SendMessageW(window, WM_COMMAND, kCommandRunProgram, forged);
  }
  EXPECT_TRUE(IsWindow(window));
  EXPECT_FALSE(launch.ran(1000));
  SendMessageW(window, WM_COMMAND, kCommandRunProgram, static_cast<LPARAM>(token));
  EXPECT_TRUE(launch.ran(10000));
  LaunchRequest request;
  EXPECT_FALSE(takeLaunchRequest(token, request));  // used up
}

TEST_F(MainWindowTest, QuitCommandsEndTheProgramWritingChangesOnce) {
  for (WPARAM command : {WPARAM{kCommandQuit}, WPARAM{IDM_QUIT}}) {
    HWND window = start();
    shellState.engine.timeoutMs = 1500;
    shellState.appFlags |= kAppSettingsDirty;
    SendMessageW(window, WM_COMMAND, command, 0);
    EXPECT_FALSE(IsWindow(window)) << idName(command);
    EXPECT_FALSE(flag(kAppSettingsShown));
    EXPECT_EQ(shellState.engine.mainWindow, nullptr);
    MSG message;
    EXPECT_TRUE(PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << idName(command);
    // Written either as the window lost activation or after the loop.
    int writes = 0;
    int32_t stored = -1;
    auto takeWrite = [&] {
      if (!settingsKeyExists()) return;
      ++writes;
      ShellState loaded;
      loadSettingsInto(loaded);
      stored = loaded.engine.timeoutMs;
      deleteSettingsKey();
    };
    takeWrite();
    finishRun();
    takeWrite();
    EXPECT_EQ(writes, 1) << idName(command);
    EXPECT_EQ(stored, 1500) << idName(command);
    shellState.appFlags = 0;
  }
}

// The program's own path, as a system answers when the path is too long.
DWORD readCutShortProgramPath(wchar_t* buffer, DWORD units) {
  std::wmemcpy(buffer, L"C:\\", 3);
  for (DWORD i = 3; i < units; ++i) buffer[i] = L'd';
  return units;
}

TEST_F(MainWindowTest, CutShortProgramPathIsSaidInsteadOfUsed) {
  HWND window = start();
  wchar_t folder[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, folder);
  const std::wstring path = std::wstring(folder) + L"pqk_before.txt";
  ASSERT_TRUE(writeTextFile(path, slotFourKeymap()));
  wcscpy(shellState.keymapPath, path.c_str());
  loadConfiguredKeymaps(window);
  DeleteFileW(path.c_str());
  ASSERT_NE(shellState.engine.keymaps[4].bytes, nullptr);
  useProgramPathReader(readCutShortProgramPath);

  SendMessageW(window, WM_COMMAND, IDM_MANUAL, 0);
  ASSERT_EQ(programMessages.size(), 1u);
  EXPECT_EQ(programMessages[0].owner, window);
  EXPECT_EQ(programMessages[0].text, programFolderUnknownMessage(L"padquiltkanalt.txt"));

  deleteStartupShortcut();
  HWND advanced = openAdvancedDialog();
  sendCommand(advanced, IDC_CREATE_AUTOSTART);
  ASSERT_EQ(programMessages.size(), 2u);
  EXPECT_EQ(programMessages[1].owner, advanced);
  EXPECT_EQ(programMessages[1].text, programFolderUnknownMessage(L"padquiltkanalt.exe"));
  EXPECT_FALSE(startupShortcutExists());

  // The default keymap: the slots are emptied as by any load, and the
  // message says why instead of naming a file in a wrong folder.
  shellState.keymapPath[0] = L'\0';
  loadConfiguredKeymaps(window);
  EXPECT_EQ(shellState.engine.keymaps[4].bytes, nullptr);
  ASSERT_EQ(keymapMessages.size(), 1u);
  EXPECT_EQ(keymapMessages[0],
            utf8FromWide(programFolderUnknownMessage(L"defaultkeymap.txt").c_str()));
}

TEST_F(MainWindowTest, OkCommandSavesThenEnds) {
  HWND window = start();
  shellState.appFlags |= kAppSettingsDirty;
  SendMessageW(window, WM_COMMAND, IDOK, 0);
  EXPECT_FALSE(IsWindow(window));
  EXPECT_FALSE(flag(kAppSettingsDirty));
  EXPECT_TRUE(settingsKeyExists());
}

TEST_F(MainWindowTest, HideAndTheCloseBoxSendTheProgramToTheBackground) {
  const struct {
    const char* what;
    UINT message;
    WPARAM wParam;
  } ways[] = {{"隠す", WM_COMMAND, IDM_HIDE}, {"close box", WM_CLOSE, 0}};
  for (const auto& way : ways) {
    SCOPED_TRACE(way.what);
    HWND window = start();
    shellState.appFlags |= kAppSettingsDirty;
    SetForegroundWindow(window);
    SendMessageW(window, way.message, way.wParam, 0);
    EXPECT_TRUE(IsWindow(window));  // the program keeps running
    EXPECT_FALSE(flag(kAppSettingsShown));
    EXPECT_FALSE(IsWindowVisible(window));
    EXPECT_TRUE(settingsKeyExists());
    deleteSettingsKey();
    hideMainWindow();
    DestroyWindow(window);
    shellState.appFlags = 0;
  }
}

TEST_F(MainWindowTest, EndOfRunWritesUnsavedSettingsOnce) {
  shellState.engine.timeoutMs = 1234;
  shellState.appFlags |= kAppSettingsDirty;
  finishRun();
  ShellState loaded;
  loadSettingsInto(loaded);
  EXPECT_EQ(loaded.engine.timeoutMs, 1234);
  EXPECT_FALSE(flag(kAppSettingsDirty));
  deleteSettingsKey();
  finishRun();
  EXPECT_FALSE(settingsKeyExists());

  // A log-off ends the process without the end of the run: the session's end
  // writes what is unsaved, and a log-off that was called off writes nothing.
  HWND window = start();
  shellState.engine.timeoutMs = 4321;
  shellState.appFlags |= kAppSettingsDirty;
  SendMessageW(window, WM_ENDSESSION, FALSE, 0);
  EXPECT_FALSE(settingsKeyExists());
  SendMessageW(window, WM_ENDSESSION, TRUE, 0);
  loadSettingsInto(loaded);
  EXPECT_EQ(loaded.engine.timeoutMs, 4321);
  EXPECT_FALSE(flag(kAppSettingsDirty));
  deleteSettingsKey();
}

TEST_F(MainWindowTest, DestroyStopsTimerHookAndEngineCommands) {
  HWND window = start();
  ASSERT_TRUE(installKeyHook(false));
  shellState.engine.mainWindow = &mainWindowCommandSink();
  shellState.timerActive = 1;
  SetTimer(window, kHookTimerId, kHookTimerPeriodMs, nullptr);
  DestroyWindow(window);
  EXPECT_EQ(shellState.engine.mainWindow, nullptr);
  EXPECT_EQ(shellState.timerActive, 0u);
  EXPECT_EQ(shellState.hookHandle, nullptr);
  EXPECT_EQ(shellState.watcherHandle, nullptr);
  EXPECT_FALSE(flag(kAppSettingsShown));
}

TEST_F(MainWindowTest, TimerReinstallsAMissingHookUnlessBehaviourOneHasTheScreenTurned) {
  HWND window = start();
  const struct {
    uint32_t behaviour;
    bool rotated;
    bool installs;
  } cases[] = {{1, false, true}, {1, true, false}, {0, false, true}, {2, false, true},
               {3, false, true}, {0, true, true},  {2, true, true},  {3, true, true}};
  for (const auto& c : cases) {
    removeKeyHook();
    shellState.engine.options = rotationBehaviourBits(c.behaviour);
    shellState.engine.screenRotated = c.rotated;
    SendMessageW(window, WM_TIMER, kHookTimerId, 0);
    EXPECT_EQ(shellState.hookHandle != nullptr, c.installs)
        << "behaviour " << c.behaviour << " rotated " << c.rotated;
  }
}

struct TurnedDisplay final : DisplayOrientation {
  uint32_t readOrientation() override { return kOrientation90; }
  void setOrientation(uint32_t) override {}
};

TEST_F(MainWindowTest, SettingChangeChecksTheRotation) {
  HWND window = start();
  TurnedDisplay display;
  useDisplayOrientation(&display);
  shellState.engine.options |= kOptionKanaToggle;
  SendMessageW(window, WM_SETTINGCHANGE, 0, 0);
  EXPECT_TRUE(shellState.engine.screenRotated);
  EXPECT_EQ(shellState.engine.activeKeymap, 6);
}

// Ends the advanced dialog once it is up, noting the flags while it ran.
uint32_t flagsWhileAdvancedOpen = 0;

BOOL CALLBACK endAdvancedDialog(HWND window, LPARAM found) {
  if (GetDlgItem(window, IDC_ROTATION_BEHAVIOUR) == nullptr) return TRUE;
  flagsWhileAdvancedOpen = shellState.appFlags;
  PostMessageW(window, WM_COMMAND, IDOK, 0);
  *reinterpret_cast<bool*>(found) = true;
  return FALSE;
}

void CALLBACK lookForAdvancedDialog(HWND, UINT, UINT_PTR timer, DWORD) {
  bool found = false;
  EnumThreadWindows(GetCurrentThreadId(), endAdvancedDialog, reinterpret_cast<LPARAM>(&found));
  if (found) KillTimer(nullptr, timer);
}

TEST_F(MainWindowTest, AdvancedDialogOverTheSettingsDialogKeepsIt) {
  start();
  flagsWhileAdvancedOpen = 0;
  const UINT_PTR timer = SetTimer(nullptr, 0, 50, lookForAdvancedDialog);
  sendCommand(shellState.settingsDialog, IDC_OPEN_ADVANCED);  // returns after its OK
  KillTimer(nullptr, timer);
  EXPECT_TRUE(flagsWhileAdvancedOpen & kAppSettingsShown);
  EXPECT_FALSE(flag(kAppAdvancedOpen));
  EXPECT_TRUE(flag(kAppSettingsShown));
  EXPECT_TRUE(IsWindow(shellState.settingsDialog));
}

}  // namespace
