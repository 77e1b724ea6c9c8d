#include "shell/settings_window.h"

#include "shell/dialog_resources.h"
#include "shell/resource_ids.h"
#include "shell/settings_dialog.h"
#include "shell/shell_state.h"
#include "shell/window_dpi.h"

namespace {

constexpr DWORD kHiddenFramePosition =
    SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED | SWP_HIDEWINDOW;  // 0xA7
constexpr DWORD kShownFramePosition =
    SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED | SWP_SHOWWINDOW;  // 0x67

}  // namespace

void hideMainWindow() {
#ifndef _WIN32_WCE
  // Hidden first: a window whose visible style is taken away before it is
  // hidden keeps its taskbar button.
  SetWindowPos(shellState.mainWnd, nullptr, 0, 0, 0, 0,
               SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_HIDEWINDOW);
#endif
  SetWindowTextW(shellState.mainWnd, nullptr);
  SetWindowLongW(shellState.mainWnd, GWL_STYLE, 0);
  SetWindowPos(shellState.mainWnd, nullptr, 0, 0, 0, 0, kHiddenFramePosition);
}

void showSettingsWindow(int showCommand) {
  if (shellState.appFlags & kAppSettingsShown) return;
  // Showing a hidden window that is not active activates it, and the
  // activation rule would show a second settings dialog under this one.
  static bool showing = false;
  if (showing) return;
  showing = true;
  SetWindowLongW(shellState.mainWnd, GWL_STYLE, kShownWindowStyle);
  SetWindowTextW(shellState.mainWnd, kMainWindowTitle);
  SetWindowPos(shellState.mainWnd, nullptr, 0, 0, 0, 0, kShownFramePosition);
  HWND dialog = createDialogFromResource(IDD_SETTINGS, shellState.mainWnd, settingsDialogProc);
  shellState.appFlags |= kAppSettingsShown;
  shellState.settingsDialog = dialog;
  if (dialog != nullptr) ShowWindow(dialog, showCommand);
#ifndef _WIN32_WCE
  fitMainWindowToSettings(windowDpi(shellState.mainWnd));
  // A window another program minimized comes back to its size (the settings
  // are shown already, so the activation adds nothing).
  if (IsIconic(shellState.mainWnd)) ShowWindow(shellState.mainWnd, SW_SHOWNOACTIVATE);
#endif
  showing = false;
}

void closeSettingsWindow() {
  if (!(shellState.appFlags & kAppSettingsShown)) return;
  // Hiding the main window may deactivate it, and the deactivation rule
  // would close the dialog again: it must find it closed already.
  HWND dialog = shellState.settingsDialog;
  shellState.appFlags &= ~static_cast<uint32_t>(kAppSettingsShown);
  shellState.settingsDialog = nullptr;
  hideMainWindow();
  if (dialog != nullptr) DestroyWindow(dialog);
}

void bringProgramForward() {
  if (shellState.mainWnd == nullptr) return;
  if (!IsWindowEnabled(shellState.mainWnd)) {
    SetForegroundWindow(GetLastActivePopup(shellState.mainWnd));
    return;
  }
  showSettingsWindow(SW_SHOW);
  SetForegroundWindow(shellState.mainWnd);
}

#ifndef _WIN32_WCE
void fitMainWindowToSettings(UINT dpi) {
  HWND dialog = shellState.settingsDialog;
  RECT dialogRect;
  if (dialog == nullptr || !GetWindowRect(dialog, &dialogRect)) return;
  const int width = dialogRect.right - dialogRect.left;
  const int height = dialogRect.bottom - dialogRect.top;
  HWND window = shellState.mainWnd;
  const RECT frame = windowRectForClient({0, 0, width, height}, kShownWindowStyle,
                                         GetMenu(window) != nullptr, 0, dpi);
  int frameWidth = frame.right - frame.left;
  int frameHeight = frame.bottom - frame.top;
  SetWindowPos(window, nullptr, 0, 0, frameWidth, frameHeight,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  // The client area as it came out: a menu bar that wraps takes more than
  // one line, and a frame measured for a DPI the window does not have yet
  // is off by a few pixels. The difference is made up once.
  RECT client;
  GetClientRect(window, &client);
  if (client.right != width || client.bottom != height) {
    frameWidth += width - client.right;
    frameHeight += height - client.bottom;
    SetWindowPos(window, nullptr, 0, 0, frameWidth, frameHeight,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}
#endif
