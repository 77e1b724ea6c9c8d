#include "shell/tray_icon.h"

#ifndef _WIN32_WCE

#include <shellapi.h>

#include <cwchar>
#include <string>

#include "engine/engine_state.h"
#include "engine/option_table.h"
#include "shell/engine_lock.h"
#include "shell/message_guard.h"
#include "shell/option_controls.h"
#include "shell/resource_ids.h"
#include "shell/settings_store.h"
#include "shell/settings_window.h"
#include "shell/shell_state.h"
#include "shell/tray_retry.h"
#include "shell/utf8_text.h"
#include "shell/window_dpi.h"

namespace {

NotifyIconCall installedCall = nullptr;

// The icon's image, at the notification area's size.
HICON iconImage = nullptr;
// Refusals of the icon in a row; 0 while the icon is shown.
uint32_t refusals = 0;
// The tip the shell shows now, so that an unchanged one is not sent again.
wchar_t shownTip[kTrayTipUnits] = {};

BOOL notifyIcon(DWORD message, NOTIFYICONDATAW* data) {
  if (installedCall != nullptr) return installedCall(message, data);
  return Shell_NotifyIconW(message, data);
}

// Sent to every top-level window when Explorer (re)creates the taskbar.
UINT taskbarCreatedMessage() {
  static const UINT message = RegisterWindowMessageW(L"TaskbarCreated");
  return message;
}

void currentTipText(wchar_t (&tip)[kTrayTipUnits]) {
  uint32_t imeStatus = 0;
  {
    EngineLock lock;
    imeStatus = shellState.engine.imeStatus;
  }
  trayTipText(shellState.engine.options, imeStatus, tip);
}

NOTIFYICONDATAW iconData(UINT flags) {
  NOTIFYICONDATAW data = {};
  data.cbSize = sizeof(data);
  data.hWnd = shellState.trayWindow;
  data.uID = kTrayIconId;
  data.uFlags = flags;
  return data;
}

void loadIconImage() {
  HICON image = loadSmallIconMetric(shellState.instance, IDI_PADQUILTKANA);
  if (image == nullptr) return;
  if (iconImage != nullptr) DestroyIcon(iconImage);
  iconImage = image;
}

BOOL notifyFullIcon(DWORD message) {
  NOTIFYICONDATAW data = iconData(NIF_MESSAGE | NIF_ICON | NIF_TIP);
  data.uCallbackMessage = kTrayCallbackMessage;
  data.hIcon = iconImage;
  currentTipText(data.szTip);
  wcscpy(shownTip, data.szTip);
  return notifyIcon(message, &data);
}

// Adds the icon, or changes it where Explorer has it already; tries again
// later when Explorer refuses.
void showIcon() {
  if (notifyFullIcon(NIM_ADD) || notifyFullIcon(NIM_MODIFY)) {
    refusals = 0;
    KillTimer(shellState.trayWindow, kTrayRetryTimerId);
    return;
  }
  ++refusals;
  SetTimer(shellState.trayWindow, kTrayRetryTimerId, trayRetryDelayMs(refusals), nullptr);
}

UINT modeCommand(uint32_t options) {
  if (options & kOptionTwoTouch) return IDM_TRAY_MODE_TWO_TOUCH;
  if (options & kOptionKanaToggle) return IDM_TRAY_MODE_KANA_TOGGLE;
  return IDM_TRAY_MODE_NONE;
}

// While a modal window of the program is up (a dialog, a file dialog, a
// keymap message), the menu would act under its feet: it comes forward
// instead.
bool modalWindowUp() {
  return shellState.mainWnd != nullptr && !IsWindowEnabled(shellState.mainWnd);
}

bool realInputSince(DWORD time) {
  LASTINPUTINFO input = {};
  input.cbSize = sizeof(input);
  if (!GetLastInputInfo(&input)) return true;
  return static_cast<int32_t>(input.dwTime - time) >= 0;
}

void showTrayMenu(HWND window) {
  if (modalWindowUp()) {
    bringProgramForward();
    return;
  }
  HMENU menu = LoadMenuW(shellState.instance, MAKEINTRESOURCEW(IDR_TRAY_MENU));
  if (menu == nullptr) return;
  HMENU popup = GetSubMenu(menu, 0);
  CheckMenuRadioItem(popup, IDM_TRAY_MODE_NONE, IDM_TRAY_MODE_TWO_TOUCH,
                     modeCommand(shellState.engine.options), MF_BYCOMMAND);
  SetMenuDefaultItem(popup, IDM_TRAY_SHOW, FALSE);
  POINT at = {};
  GetCursorPos(&at);
  // The menu closes when the user clicks elsewhere only if its window is in
  // front.
  SetForegroundWindow(window);
  const DWORD opened = GetTickCount();
  const UINT command = static_cast<UINT>(TrackPopupMenu(
      popup, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, at.x, at.y, 0, window, nullptr));
  PostMessageW(window, WM_NULL, 0, 0);
  DestroyMenu(menu);
  // Another process can open the menu (the icon's events cannot be told
  // from Explorer's) and post it keys and clicks: a choice counts only when
  // the user's own input came while the menu was open.
  if (realInputSince(opened)) runTrayCommand(command);
}

// In the background nothing else would write the change before the end of
// the run, which a log-off does not wait for.
void switchInputModeFromTray(uint32_t modeBits) {
  switchInputMode(modeBits);
  if (!(shellState.appFlags & kAppSettingsShown)) saveDirtySettings();
}

void onIconEvent(HWND window, UINT event) {
  switch (event) {
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
      bringProgramForward();
      break;
    case WM_RBUTTONUP:
    case WM_CONTEXTMENU:
      showTrayMenu(window);
      break;
    default:
      break;
  }
}

}  // namespace

void trayTipText(uint32_t options, uint32_t imeStatus, wchar_t (&tip)[kTrayTipUnits]) {
  const std::wstring mode = wideFromUtf8(inputModeRow(options).label);
  const bool inputMode = (options & (kOptionKanaToggle | kOptionTwoTouch)) != 0;
  const bool kanaInput = (imeStatus & (kImeStatusOpen | kImeStatusKanaInput)) ==
                         (kImeStatusOpen | kImeStatusKanaInput);
  if (inputMode && kanaInput) {
    swprintf(tip, kTrayTipUnits, L"padquiltkana - %ls\n%ls", mode.c_str(), kTrayKanaInputNote);
  } else {
    swprintf(tip, kTrayTipUnits, L"padquiltkana - %ls", mode.c_str());
  }
}

void useNotifyIconCall(NotifyIconCall call) {
  installedCall = call;
}

bool addTrayIcon() {
  if (shellState.trayWindow == nullptr) {
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = trayWindowProc;
    windowClass.hInstance = shellState.instance;
    windowClass.lpszClassName = kTrayWindowClass;
    RegisterClassW(&windowClass);
    // A hidden top-level window: it hears TaskbarCreated, which a
    // message-only window would not, and can be put in front for the menu
    // without activating the main window.
    shellState.trayWindow = CreateWindowExW(WS_EX_TOOLWINDOW, kTrayWindowClass, L"", WS_POPUP, 0, 0,
                                            0, 0, nullptr, nullptr, shellState.instance, nullptr);
    if (shellState.trayWindow == nullptr) return false;
    guardWindow(shellState.trayWindow, GuardedWindow::kTrayWindow, kTrayCallbackMessage);
  }
  setInputModeListener(showInputModeInTray);
  loadIconImage();
  refusals = 0;
  showIcon();
  return true;
}

void refreshTrayIconImage() {
  if (shellState.trayWindow == nullptr) return;
  loadIconImage();
  if (refusals != 0) return;  // the retry shows the new image
  NOTIFYICONDATAW data = iconData(NIF_ICON);
  data.hIcon = iconImage;
  notifyIcon(NIM_MODIFY, &data);
}

void showInputModeInTray() {
  if (shellState.trayWindow == nullptr) return;
  NOTIFYICONDATAW data = iconData(NIF_TIP);
  currentTipText(data.szTip);
  if (wcscmp(data.szTip, shownTip) == 0) return;
  wcscpy(shownTip, data.szTip);
  notifyIcon(NIM_MODIFY, &data);
}

void removeTrayIcon() {
  setInputModeListener(nullptr);
  if (shellState.trayWindow == nullptr) return;
  NOTIFYICONDATAW data = iconData(0);
  notifyIcon(NIM_DELETE, &data);
  KillTimer(shellState.trayWindow, kTrayRetryTimerId);
  unguardWindow(shellState.trayWindow);
  DestroyWindow(shellState.trayWindow);
  shellState.trayWindow = nullptr;
  if (iconImage != nullptr) DestroyIcon(iconImage);
  iconImage = nullptr;
  refusals = 0;
}

void runTrayCommand(UINT command) {
  switch (command) {
    case IDM_TRAY_SHOW:
      bringProgramForward();
      break;
    case IDM_TRAY_MODE_NONE:
      switchInputModeFromTray(0);
      break;
    case IDM_TRAY_MODE_KANA_TOGGLE:
      switchInputModeFromTray(kOptionKanaToggle);
      break;
    case IDM_TRAY_MODE_TWO_TOUCH:
      switchInputModeFromTray(kOptionTwoTouch);
      break;
    case IDM_QUIT:
      if (shellState.mainWnd != nullptr) DestroyWindow(shellState.mainWnd);
      break;
    default:
      break;
  }
}

LRESULT CALLBACK trayWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT guarded = 0;
  if (guardMessage(window, message, wParam, lParam, guarded)) return guarded;
  if (message == kTrayCallbackMessage) {
    onIconEvent(window, LOWORD(lParam));
    return 0;
  }
  if (message == taskbarCreatedMessage() && message != 0) {
    // A new taskbar, perhaps at another DPI: the image is made again.
    loadIconImage();
    refusals = 0;
    showIcon();
    return 0;
  }
  if (message == WM_TIMER && wParam == kTrayRetryTimerId) {
    KillTimer(window, kTrayRetryTimerId);
    if (refusals != 0) showIcon();
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

#endif
