#include "shell/main_window.h"

#include "engine/engine_state.h"
#include "shell/about_dialog.h"
#include "shell/advanced_dialog.h"
#include "shell/ce_compat.h"
#include "shell/dialog_resources.h"
#include "shell/engine_lock.h"
#include "shell/ime_label.h"
#include "shell/key_hook.h"
#include "shell/keymap_loading.h"
#include "shell/launch_file.h"
#include "shell/launch_requests.h"
#include "shell/program_messages.h"
#include "shell/resource_ids.h"
#include "shell/rotation.h"
#include "shell/settings_store.h"
#include "shell/settings_window.h"
#include "shell/shell_state.h"
#include "shell/tray_icon.h"

namespace {

void onActivate(WPARAM wParam) {
  if (!(shellState.appFlags & kAppRunning)) return;
  if (LOWORD(wParam) != WA_INACTIVE) {
    if (!(shellState.appFlags & kAppSettingsShown)) showSettingsWindow(SW_SHOW);
    return;
  }
  if (!(shellState.appFlags & kAppSettingsShown)) return;
  if (shellState.appFlags & kAppAdvancedOpen) {
    // The advanced dialog opening over the settings dialog keeps it.
    shellState.appFlags &= ~static_cast<uint32_t>(kAppAdvancedOpen);
    return;
  }
  closeSettingsWindow();
  saveDirtySettings();
  shellState.appFlags &= ~static_cast<uint32_t>(kAppAdvancedOpen);
}

void onDestroy(HWND window) {
  {
    EngineLock lock;
    shellState.engine.mainWindow = nullptr;
  }
  if (shellState.timerActive != 0) {
    KillTimer(window, kHookTimerId);
    shellState.timerActive = 0;
  }
  removeKeyHook();
  if (shellState.menuBar != nullptr) DestroyWindow(shellState.menuBar);
  shellState.menuBar = nullptr;
  closeSettingsWindow();
  clearLaunchRequests();
#ifndef _WIN32_WCE
  removeTrayIcon();
#endif
  PostQuitMessage(0);
}

void runLaunchRequest(LPARAM token) {
  LaunchRequest request;
  // Only requests this program issued start, each once; anything else
  // posted as this command is ignored.
  if (!takeLaunchRequest(static_cast<uintptr_t>(token), request)) return;
  launchFile(request.file, request.parameters);
}

void openManual(HWND window) {
  wchar_t path[kPathUnits];
  if (!programFolderPath(path, kManualFileName)) {
    showProgramMessage(window, programFolderUnknownMessage(kManualFileName).c_str());
    return;
  }
  launchFile(path, nullptr);
}

// A desktop without a window manager may leave a minimized window active;
// then no deactivation would close the settings dialog, and a later start
// could not bring the program forward. Letting go of the activation gives
// the same course as on the device.
void letGoOfActivation() {
#ifndef _WIN32_WCE
  if (GetActiveWindow() == shellState.mainWnd) SetActiveWindow(nullptr);
#endif
}

// "隠す": the deactivation that follows closes the settings dialog and
// saves.
void sendToBackground() {
  ShowWindow(shellState.mainWnd, SW_MINIMIZE);
  letGoOfActivation();
}

// The command table; false sends the command on to DefWindowProcW.
bool onCommand(HWND window, WORD id, LPARAM lParam) {
  switch (id) {
    case IDOK:
      SendMessageW(window, WM_ACTIVATE, WA_INACTIVE, reinterpret_cast<LPARAM>(window));
      DestroyWindow(window);
      return true;
    case kCommandRunProgram:
      runLaunchRequest(lParam);
      return true;
    case kCommandRotateScreen:
      rotateScreen(static_cast<int>(lParam));
      return true;
    case kCommandQuit:
    case IDM_QUIT:
      DestroyWindow(window);
      return true;
    case IDM_ABOUT:
      runDialogFromResource(IDD_ABOUT, window, aboutDialogProc);
      return true;
    case IDM_HIDE:
      sendToBackground();
      return true;
    case IDM_MANUAL:
      openManual(window);
      return true;
    case IDM_LOAD_KEYMAP:
      loadKeymapInteractive(nullptr, true);
      return true;
    case IDM_ADVANCED:
      shellState.appFlags |= kAppAdvancedOpen;
      runDialogFromResource(IDD_ADVANCED, window, advancedDialogProc);
      return true;
    default:
      return false;
  }
}

}  // namespace

bool createMainWindow(HINSTANCE instance, int showCommand) {
  shellState.instance = instance;
  HWND running = FindWindowW(kMainWindowClass, nullptr);
  if (shellState.appFlags & kAppCloseRequested) {
    if (running != nullptr) PostMessageW(running, WM_COMMAND, kCommandQuit, 0);
    return false;
  }
  if (running != nullptr) {
#ifdef _WIN32_WCE
    // Bit 0 also brings the window's owned windows forward.
    SetForegroundWindow(reinterpret_cast<HWND>(reinterpret_cast<uintptr_t>(running) | 1));
#else
    SetForegroundWindow(running);
#endif
    return false;
  }

  WNDCLASSW windowClass = {};
  windowClass.style = CS_HREDRAW | CS_VREDRAW;
  windowClass.lpfnWndProc = mainWindowProc;
  windowClass.hInstance = instance;
  windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_PADQUILTKANA));
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  windowClass.lpszClassName = kMainWindowClass;
  RegisterClassW(&windowClass);

  HWND window = CreateWindowExW(0, kMainWindowClass, kMainWindowTitle, kShownWindowStyle,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr,
                                nullptr, instance, nullptr);
  if (window == nullptr) return false;
#ifdef _WIN32_WCE
  if (shellState.menuBar != nullptr) {
    RECT rect;
    GetWindowRect(window, &rect);
    MoveWindow(window, rect.left, rect.top, rect.right - rect.left,
               rect.bottom - rect.top - kMenuBarHeight, FALSE);
  }
#endif
  shellState.mainWnd = window;
  if (shellState.appFlags & kAppStartHidden) {
    ShowWindow(window, SW_MINIMIZE);
    hideMainWindow();
    letGoOfActivation();
  } else {
    ShowWindow(window, showCommand);
    UpdateWindow(window);
  }
  return true;
}

HWND createMenuBar(HWND window) {
  SHMENUBARINFO info = {};
  info.cbSize = sizeof(info);
  info.hwndParent = window;
  info.dwFlags = SHCMBF_HMENU;
  info.nToolBarId = IDR_MAIN_MENU;
  info.hInstRes = shellState.instance;
  if (!SHCreateMenuBar(&info)) return nullptr;
  return info.hwndMB;
}

LRESULT CALLBACK mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      shellState.menuBar = createMenuBar(window);
      shellState.activateInfo = {};
      shellState.activateInfo.cbSize = sizeof(SHACTIVATEINFO);
      return 0;
    case WM_DESTROY:
      onDestroy(window);
      return 0;
    case WM_ACTIVATE:
      onActivate(wParam);
      SHHandleWMActivate(window, wParam, lParam, &shellState.activateInfo, 0);
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      BeginPaint(window, &paint);
      EndPaint(window, &paint);
      return 0;
    }
    case WM_CLOSE:
#ifndef _WIN32_WCE
      // The close box hides the program like "隠す"; it keeps running.
      sendToBackground();
#endif
      return 0;  // only the menu, the OK command or a quit request end the program
    case WM_SETTINGCHANGE:
      checkRotation();
      SHHandleWMSettingChange(window, wParam, lParam, &shellState.activateInfo);
      return 0;
    case WM_COMMAND:
      if (onCommand(window, LOWORD(wParam), lParam)) return 0;
      return DefWindowProcW(window, message, wParam, lParam);
    case WM_TIMER:
      restoreKeyHookIfWanted();
      return 0;
    case WM_IME_NOTIFY:
      refreshImeLabel();
      return 0;
#ifndef _WIN32_WCE
    case kImeStatusChangedMessage:
      showImeStatus();
      return 0;
#endif
    case WM_HIBERNATE:
      return 0;
#ifndef _WIN32_WCE
    case WM_ENDSESSION:
      // Windows ends the process after this answer, without WM_DESTROY:
      // changes made since the settings were last hidden are written now.
      if (wParam) saveDirtySettings();
      return 0;
#endif
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

void MainWindowCommandSink::postWindowCommand(uint32_t command, uintptr_t param) {
  if (shellState.mainWnd == nullptr) return;
  if (command == kCommandRunProgram) {
    const uintptr_t token = issueLaunchRequest(reinterpret_cast<const char*>(param));
    if (token == 0) return;  // too long to start
    PostMessageW(shellState.mainWnd, WM_COMMAND, kCommandRunProgram, static_cast<LPARAM>(token));
    return;
  }
  PostMessageW(shellState.mainWnd, WM_COMMAND, command, static_cast<LPARAM>(param));
}

MainWindowCommandSink& mainWindowCommandSink() {
  static MainWindowCommandSink sink;
  return sink;
}
