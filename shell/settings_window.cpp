#include "shell/settings_window.h"

#include "shell/dialog_resources.h"
#include "shell/resource_ids.h"
#include "shell/settings_dialog.h"
#include "shell/shell_state.h"

namespace {

constexpr DWORD kHiddenFramePosition =
    SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED | SWP_HIDEWINDOW;  // 0xA7
constexpr DWORD kShownFramePosition =
    SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED | SWP_SHOWWINDOW;  // 0x67

#ifndef _WIN32_WCE
// The settings dialog fills the client area below the menu: the window takes
// the dialog's size plus its frame.
void fitMainWindowToDialog(HWND dialog) {
  RECT dialogRect;
  if (!GetWindowRect(dialog, &dialogRect)) return;
  const int width = dialogRect.right - dialogRect.left;
  const int height = dialogRect.bottom - dialogRect.top;
  RECT frame = {0, 0, width, height};
  AdjustWindowRectEx(&frame, kShownWindowStyle, GetMenu(shellState.mainWnd) != nullptr, 0);
  SetWindowPos(shellState.mainWnd, nullptr, 0, 0, frame.right - frame.left,
               frame.bottom - frame.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  // A menu bar that wraps takes more than one line.
  RECT client;
  GetClientRect(shellState.mainWnd, &client);
  if (client.bottom < height) {
    SetWindowPos(shellState.mainWnd, nullptr, 0, 0, frame.right - frame.left,
                 frame.bottom - frame.top + height - client.bottom,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}
#endif

}  // namespace

void hideMainWindow() {
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
  if (dialog != nullptr) fitMainWindowToDialog(dialog);
  // A desktop window sent to the background stays minimized; bring it back
  // to its size (the settings are shown already, so activation adds nothing).
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
