// The desktop program's notification-area icon: what it tells the shell, and
// what its clicks and menu commands do to the running program.
#include "shell/tray_icon.h"

#include <string>
#include <vector>

#include "shell/ime_label.h"
#include "shell/main_window.h"
#include "shell/resource_ids.h"
#include "shell/settings_store.h"
#include "shell/settings_window.h"
#include "shell/tray_retry.h"
#include "tests/shell/app_test_support.h"

namespace {

struct IconCall {
  DWORD message;
  HWND window;
  UINT id;
  UINT flags;
  UINT callbackMessage;
  bool hasIcon;
  std::wstring tip;
};

std::vector<IconCall> iconCalls;

BOOL recordIconCall(DWORD message, NOTIFYICONDATAW* data) {
  iconCalls.push_back({message, data->hWnd, data->uID, data->uFlags, data->uCallbackMessage,
                       data->hIcon != nullptr, data->szTip});
  return TRUE;
}

// Explorer at a busy log-on: it takes no icon until it is ready.
bool explorerReady = true;

BOOL refuseUntilReady(DWORD message, NOTIFYICONDATAW* data) {
  recordIconCall(message, data);
  return explorerReady ? TRUE : FALSE;
}

// Set when a menu showed up; the menu is closed at once.
bool menuShown = false;

void CALLBACK closeAnyMenu(HWND, UINT, UINT_PTR, DWORD) {
  HWND menu = FindWindowW(L"#32768", nullptr);
  if (menu != nullptr && IsWindowVisible(menu)) {
    menuShown = true;
    EndMenu();
  }
}

BOOL CALLBACK collectSettingsDialogs(HWND window, LPARAM list) {
  if (GetDlgItem(window, IDC_TEST_FIELD) != nullptr) {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
  }
  return TRUE;
}

class TrayIconTest : public ShellAppTest {
 protected:
  void SetUp() override {
    ShellAppTest::SetUp();
    iconCalls.clear();
    useNotifyIconCall(recordIconCall);
  }
  void TearDown() override {
    ShellAppTest::TearDown();
    removeTrayIcon();
    useNotifyIconCall(nullptr);
  }
  // The program as after start-up: main window, icon, settings dialog.
  HWND start() {
    EXPECT_TRUE(createMainWindow(shellState.instance, SW_SHOW));
    shellState.appFlags |= kAppRunning;
    EXPECT_TRUE(addTrayIcon());
    showSettingsWindow(SW_SHOW);
    return shellState.mainWnd;
  }
  void click(UINT event) {
    SendMessageW(shellState.trayWindow, kTrayCallbackMessage, kTrayIconId, event);
  }
  bool shown() const { return (shellState.appFlags & kAppSettingsShown) != 0; }
};

// An IME in kana input takes the keypad's keys as kana: in an input mode the
// tip says so, since the keypad then types what the IME makes of them.
TEST(TrayTip, NamesTheProgramTheInputModeAndAnImeInKanaInput) {
  constexpr uint32_t kKanaInput = kImeStatusOpen | kImeStatusKanaInput;
  const std::wstring note = std::wstring(L"\n") + kTrayKanaInputNote;
  const struct {
    uint32_t options;
    uint32_t imeStatus;
    std::wstring tip;
  } cases[] = {
      {kDefaultOptions, 0, L"padquiltkana - 無し"},
      {kDefaultOptions | kOptionKanaToggle, kImeStatusOpen, L"padquiltkana - かな入力・トグル式"},
      {kDefaultOptions | kOptionTwoTouch | kOptionNicoTouch, 0,
       L"padquiltkana - 2タッチ(ポケベル)入力"},
      {kDefaultOptions | kOptionKanaToggle, kKanaInput,
       L"padquiltkana - かな入力・トグル式" + note},
      {kDefaultOptions | kOptionTwoTouch, kKanaInput | kImeStatusUnanswered,
       L"padquiltkana - 2タッチ(ポケベル)入力" + note},
      {kDefaultOptions, kKanaInput, L"padquiltkana - 無し"},  // the keypad is the system's anyway
      {kDefaultOptions | kOptionKanaToggle, kImeStatusKanaInput,
       L"padquiltkana - かな入力・トグル式"},
  };
  for (const auto& c : cases) {
    wchar_t tip[kTrayTipUnits];
    trayTipText(c.options, c.imeStatus, tip);
    EXPECT_EQ(tip, c.tip) << c.options << " " << c.imeStatus;
  }
}

TEST_F(TrayIconTest, IconIsAddedWithTipAndComesBackWithTheTaskbar) {
  shellState.engine.options |= kOptionKanaToggle;
  start();
  ASSERT_NE(shellState.trayWindow, nullptr);
  EXPECT_FALSE(IsWindowVisible(shellState.trayWindow));
  ASSERT_EQ(iconCalls.size(), 1u);
  const IconCall& added = iconCalls[0];
  EXPECT_EQ(added.message, static_cast<DWORD>(NIM_ADD));
  EXPECT_EQ(added.window, shellState.trayWindow);
  EXPECT_EQ(added.id, kTrayIconId);
  EXPECT_EQ(added.flags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP));
  EXPECT_EQ(added.callbackMessage, kTrayCallbackMessage);
  EXPECT_TRUE(added.hasIcon);
  EXPECT_EQ(added.tip, L"padquiltkana - かな入力・トグル式");

  // Explorer restarted: the icon is added again.
  SendMessageW(shellState.trayWindow, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
  ASSERT_EQ(iconCalls.size(), 2u);
  EXPECT_EQ(iconCalls[1].message, static_cast<DWORD>(NIM_ADD));
  EXPECT_EQ(iconCalls[1].window, shellState.trayWindow);
  EXPECT_TRUE(iconCalls[1].hasIcon);
}

TEST(TrayRetry, WaitsLongerAfterEachRefusalUpToHalfAMinute) {
  const uint32_t expected[] = {500, 1000, 2000, 4000, 8000, 16000, 30000, 30000, 30000};
  for (uint32_t refusals = 1; refusals <= 9; ++refusals) {
    EXPECT_EQ(trayRetryDelayMs(refusals), expected[refusals - 1]) << refusals;
  }
  EXPECT_EQ(trayRetryDelayMs(1000000), 30000u);
}

TEST_F(TrayIconTest, RefusedIconIsTriedAgainUntilExplorerTakesIt) {
  explorerReady = false;
  useNotifyIconCall(refuseUntilReady);
  start();
  // Refused: asked to add, then to change one it might have.
  ASSERT_EQ(iconCalls.size(), 2u);
  EXPECT_EQ(iconCalls[0].message, static_cast<DWORD>(NIM_ADD));
  EXPECT_EQ(iconCalls[1].message, static_cast<DWORD>(NIM_MODIFY));
  // The retry timer really runs: the first one comes after half a second.
  const DWORD begin = GetTickCount();
  while (iconCalls.size() < 4 && GetTickCount() - begin < 3000) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    Sleep(20);
  }
  ASSERT_EQ(iconCalls.size(), 4u);
  EXPECT_GE(GetTickCount() - begin, 400u);
  EXPECT_EQ(iconCalls[2].message, static_cast<DWORD>(NIM_ADD));

  // Explorer is ready at the next try: the icon is added, tip and all.
  explorerReady = true;
  SendMessageW(shellState.trayWindow, WM_TIMER, kTrayRetryTimerId, 0);
  ASSERT_EQ(iconCalls.size(), 5u);
  EXPECT_EQ(iconCalls[4].message, static_cast<DWORD>(NIM_ADD));
  EXPECT_TRUE(iconCalls[4].hasIcon);
  EXPECT_EQ(iconCalls[4].tip, L"padquiltkana - 無し");
  // Once shown, it is not tried again.
  SendMessageW(shellState.trayWindow, WM_TIMER, kTrayRetryTimerId, 0);
  EXPECT_EQ(iconCalls.size(), 5u);
  explorerReady = true;
}

TEST_F(TrayIconTest, TipFollowsTheInputModeFromEveryWayIn) {
  start();
  iconCalls.clear();
  sendCommand(shellState.settingsDialog, IDC_MODE_TWO_TOUCH);  // the radio button
  ASSERT_EQ(iconCalls.size(), 1u);
  EXPECT_EQ(iconCalls[0].message, static_cast<DWORD>(NIM_MODIFY));
  EXPECT_EQ(iconCalls[0].tip, L"padquiltkana - 2タッチ(ポケベル)入力");
  runTrayCommand(IDM_TRAY_MODE_NONE);  // the icon's menu
  ASSERT_EQ(iconCalls.size(), 2u);
  EXPECT_EQ(iconCalls[1].tip, L"padquiltkana - 無し");
}

// The IME in kana input leaves the keypad alone: the label and the tip say
// so, whether the program learns it itself (an IME notification) or the
// hook does (it posts the change).
TEST_F(TrayIconTest, LabelAndTipSayWhenTheImeTakesKanaInput) {
  shellState.engine.options |= kOptionKanaToggle;
  start();
  HWND settings = shellState.settingsDialog;
  const std::wstring kanaTip =
      std::wstring(L"padquiltkana - かな入力・トグル式\n") + kTrayKanaInputNote;
  ime.open = true;
  ime.conversion = 0x09;  // hiragana, full shape, no roman input
  iconCalls.clear();
  SendMessageW(shellState.mainWnd, WM_IME_NOTIFY, 0, 0);
  EXPECT_EQ(controlText(settings, IDC_IME_LABEL), L"IME ON(かな入力)");
  ASSERT_EQ(iconCalls.size(), 1u);
  EXPECT_EQ(iconCalls[0].tip, kanaTip);
  SendMessageW(shellState.mainWnd, WM_IME_NOTIFY, 0, 0);
  EXPECT_EQ(iconCalls.size(), 1u);  // an unchanged tip is not sent again

  // The hook learnt that the IME takes roman input again.
  shellState.engine.imeStatus = kImeStatusOpen;
  SendMessageW(shellState.mainWnd, kImeStatusChangedMessage, 0, 0);
  EXPECT_EQ(controlText(settings, IDC_IME_LABEL), L"IME ON");
  ASSERT_EQ(iconCalls.size(), 2u);
  EXPECT_EQ(iconCalls[1].tip, L"padquiltkana - かな入力・トグル式");
}

TEST_F(TrayIconTest, MenuSwitchesTheModeAsTheRadioButtonsDo) {
  start();
  HWND settings = shellState.settingsDialog;
  runTrayCommand(IDM_TRAY_MODE_KANA_TOGGLE);
  EXPECT_EQ(shellState.engine.options & (kOptionKanaToggle | kOptionTwoTouch),
            uint32_t{kOptionKanaToggle});
  EXPECT_EQ(shellState.engine.activeKeymap, 4);
  EXPECT_EQ(IsDlgButtonChecked(settings, IDC_MODE_KANA_TOGGLE), BST_CHECKED);
  EXPECT_EQ(IsDlgButtonChecked(settings, IDC_MODE_NONE), BST_UNCHECKED);
  EXPECT_TRUE(isEnabled(settings, IDC_TIMEOUT));
  EXPECT_FALSE(isEnabled(settings, IDC_NICO_TOUCH));
  // In front, the change is written when the program leaves the front.
  EXPECT_TRUE(shellState.appFlags & kAppSettingsDirty);
  ShellState stored;
  setEngineDefaults(stored.engine);
  loadSettingsInto(stored);
  EXPECT_EQ(stored.engine.options & kOptionKanaToggle, 0u);

  // In the background, nothing else would write it: it is written at once.
  closeSettingsWindow();
  runTrayCommand(IDM_TRAY_MODE_TWO_TOUCH);
  EXPECT_EQ(shellState.engine.activeKeymap, 0);
  EXPECT_FALSE(shellState.appFlags & kAppSettingsDirty);
  loadSettingsInto(stored);
  EXPECT_EQ(stored.engine.options & (kOptionKanaToggle | kOptionTwoTouch),
            uint32_t{kOptionTwoTouch});
}

TEST_F(TrayIconTest, ClickAndShowCommandBringTheHiddenProgramForward) {
  for (bool byMenu : {false, true}) {
    SCOPED_TRACE(byMenu ? "menu" : "click");
    if (shellState.mainWnd == nullptr) start();
    SetForegroundWindow(shellState.mainWnd);
    SendMessageW(shellState.mainWnd, WM_CLOSE, 0, 0);  // its close box
    ASSERT_FALSE(IsWindowVisible(shellState.mainWnd));
    if (byMenu) {
      runTrayCommand(IDM_TRAY_SHOW);
    } else {
      click(WM_LBUTTONUP);
    }
    EXPECT_TRUE(shown());
    EXPECT_TRUE(IsWindowVisible(shellState.mainWnd));
    // Exactly one settings dialog, the one the program knows: showing the
    // hidden window activates it, which must not show a second one.
    std::vector<HWND> dialogs;
    EnumChildWindows(shellState.mainWnd, collectSettingsDialogs,
                     reinterpret_cast<LPARAM>(&dialogs));
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_EQ(dialogs[0], shellState.settingsDialog);
  }
}

TEST_F(TrayIconTest, RightClickShowsTheMenuUnlessAModalWindowIsUp) {
  HWND window = start();
  const UINT_PTR timer = SetTimer(nullptr, 0, 200, closeAnyMenu);
  menuShown = false;
  click(WM_RBUTTONUP);
  EXPECT_TRUE(menuShown);
  // A dialog or message box of the program owns the main window: no menu
  // acts under its feet.
  EnableWindow(window, FALSE);
  menuShown = false;
  click(WM_RBUTTONUP);
  EXPECT_FALSE(menuShown);
  KillTimer(nullptr, timer);
  EnableWindow(window, TRUE);
  EXPECT_TRUE(IsWindow(window));
}

TEST_F(TrayIconTest, QuitEndsTheProgramAndRemovesTheIcon) {
  HWND window = start();
  HWND tray = shellState.trayWindow;
  shellState.appFlags |= kAppSettingsDirty;
  iconCalls.clear();
  runTrayCommand(IDM_QUIT);
  EXPECT_FALSE(IsWindow(window));
  EXPECT_FALSE(IsWindow(tray));
  EXPECT_EQ(shellState.trayWindow, nullptr);
  ASSERT_EQ(iconCalls.size(), 1u);
  EXPECT_EQ(iconCalls[0].message, static_cast<DWORD>(NIM_DELETE));
  EXPECT_EQ(iconCalls[0].window, tray);
  EXPECT_EQ(iconCalls[0].id, kTrayIconId);
  MSG message;
  EXPECT_TRUE(PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

}  // namespace
