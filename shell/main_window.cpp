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
#include "shell/message_guard.h"
#include "shell/program_messages.h"
#include "shell/resource_ids.h"
#include "shell/rotation.h"
#include "shell/rotation_requests.h"
#include "shell/settings_store.h"
#include "shell/settings_window.h"
#include "shell/shell_state.h"
#include "shell/single_instance.h"
#include "shell/tray_icon.h"
#include "shell/window_dpi.h"

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
#ifdef _WIN32_WCE
  PostQuitMessage(0);
#else
  clearRotationRequests();
  removeTrayIcon();
  postProgramQuit();
#endif
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

#ifdef _WIN32_WCE
// "隠す": the deactivation that follows closes the settings dialog and
// saves.
void sendToBackground() {
  ShowWindow(shellState.mainWnd, SW_MINIMIZE);
}
#else
// "隠す" and the close box: the window is hidden, not minimized, so that
// only the notification-area icon is left (no taskbar button, nothing in
// Alt+Tab). Hiding need not deactivate the window, so the settings dialog is
// closed and the settings saved here, as the deactivation would.
void sendToBackground() {
  closeSettingsWindow();
  saveDirtySettings();
  shellState.appFlags &= ~static_cast<uint32_t>(kAppAdvancedOpen);
}
#endif

// A second start brings the running instance forward.
void bringInstanceForward(HWND running) {
#ifdef _WIN32_WCE
  // Bit 0 also brings the window's owned windows forward.
  SetForegroundWindow(reinterpret_cast<HWND>(reinterpret_cast<uintptr_t>(running) | 1));
#else
  // The running instance's window is hidden in the background: it shows
  // itself, and may take the foreground that this start was given.
  DWORD process = 0;
  GetWindowThreadProcessId(running, &process);
  AllowSetForegroundWindow(process);
  PostMessageW(running, WM_COMMAND, IDM_TRAY_SHOW, 0);
  SetForegroundWindow(running);
#endif
}

#ifndef _WIN32_WCE
// The caption's and Alt+Tab's icons, drawn for the window's DPI.
HICON smallIcon = nullptr;
HICON bigIcon = nullptr;

void showIconsForDpi(HWND window, UINT dpi) {
  HICON small =
      loadProgramIcon(shellState.instance, IDI_PADQUILTKANA, systemMetricForDpi(SM_CXSMICON, dpi));
  HICON big =
      loadProgramIcon(shellState.instance, IDI_PADQUILTKANA, systemMetricForDpi(SM_CXICON, dpi));
  SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
  SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
  if (smallIcon != nullptr) DestroyIcon(smallIcon);
  if (bigIcon != nullptr) DestroyIcon(bigIcon);
  smallIcon = small;
  bigIcon = big;
}

void destroyIcons() {
  if (smallIcon != nullptr) DestroyIcon(smallIcon);
  if (bigIcon != nullptr) DestroyIcon(bigIcon);
  smallIcon = nullptr;
  bigIcon = nullptr;
}

// The window moved to a monitor of another DPI: it takes the place Windows
// suggests, its icons for that DPI, and the size of the settings dialog
// (which Windows scales itself) plus the frame at that DPI.
void onDpiChanged(HWND window, UINT dpi, const RECT& suggested) {
  SetWindowPos(window, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
               suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  showIconsForDpi(window, dpi);
  refreshTrayIconImage();
  fitMainWindowToSettings(dpi);
  // The dialog's own scaling may come after this message: fitted again then.
  SetTimer(window, kFitTimerId, 0, nullptr);
}

bool isMenuCommand(WORD id) {
  switch (id) {
    case IDM_ABOUT:
    case IDM_QUIT:
    case IDM_HIDE:
    case IDM_MANUAL:
    case IDM_LOAD_KEYMAP:
    case IDM_ADVANCED:
      return true;
    default:
      return false;
  }
}

// Commands reach the main window from its menu, from the engine and from a
// second instance, never from a control: it has none. A menu cannot be used
// while a modal window of the program disables the main window, so a menu
// command then is no user's, and a turn of the screen is carried out only
// when the engine asked for it.
bool isRealCommand(HWND window, WORD id, LPARAM lParam) {
  if (lParam != 0 && id != kCommandRunProgram && id != kCommandRotateScreen) return false;
  if (isMenuCommand(id) && !IsWindowEnabled(window)) return false;
  if (id == kCommandRotateScreen) return takeRotationRequest(static_cast<uintptr_t>(lParam));
  return true;
}
#endif

// The command table; false sends the command on to DefWindowProcW.
bool onCommand(HWND window, WORD id, LPARAM lParam) {
#ifndef _WIN32_WCE
  if (!isRealCommand(window, id, lParam)) return true;
#endif
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
#ifndef _WIN32_WCE
    case IDM_TRAY_SHOW:  // a second start
      bringProgramForward();
      return true;
#endif
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
#ifndef _WIN32_WCE
  // A start a moment earlier may not have its window yet.
  if (running == nullptr && otherInstanceStarting()) {
    running = waitForRunningInstance(kMainWindowClass, kInstanceWaitMs);
  }
#endif
  if (shellState.appFlags & kAppCloseRequested) {
    if (running != nullptr) PostMessageW(running, WM_COMMAND, kCommandQuit, 0);
    return false;
  }
  if (running != nullptr) {
    bringInstanceForward(running);
    return false;
  }
#ifndef _WIN32_WCE
  // Another start took the program's place between the look and now: this
  // one hands over to it.
  if (!claimSingleInstance()) {
    running = waitForRunningInstance(kMainWindowClass, kInstanceWaitMs);
    if (running != nullptr) bringInstanceForward(running);
    return false;
  }
#endif

#ifdef _WIN32_WCE
  WNDCLASSW windowClass = {};
  windowClass.style = CS_HREDRAW | CS_VREDRAW;
  windowClass.lpfnWndProc = mainWindowProc;
  windowClass.hInstance = instance;
  windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_PADQUILTKANA));
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  windowClass.lpszClassName = kMainWindowClass;
  RegisterClassW(&windowClass);
#else
  // The class has the small icon too; the window gets both for its own DPI
  // once it exists.
  WNDCLASSEXW windowClass = {};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.style = CS_HREDRAW | CS_VREDRAW;
  windowClass.lpfnWndProc = mainWindowProc;
  windowClass.hInstance = instance;
  windowClass.hIcon = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_PADQUILTKANA),
                                                    IMAGE_ICON, GetSystemMetrics(SM_CXICON),
                                                    GetSystemMetrics(SM_CYICON), LR_SHARED));
  windowClass.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_PADQUILTKANA),
                                                      IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                                      GetSystemMetrics(SM_CYSMICON), LR_SHARED));
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  windowClass.lpszClassName = kMainWindowClass;
  RegisterClassExW(&windowClass);
#endif

  DWORD style = kShownWindowStyle;
#ifndef _WIN32_WCE
  // Started hidden, the desktop window is never shown, not even for a moment
  // on the taskbar.
  if (shellState.appFlags & kAppStartHidden) style &= ~static_cast<DWORD>(WS_VISIBLE);
#endif
  HWND window =
      CreateWindowExW(0, kMainWindowClass, kMainWindowTitle, style, CW_USEDEFAULT, CW_USEDEFAULT,
                      CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance, nullptr);
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
#ifndef _WIN32_WCE
  showIconsForDpi(window, windowDpi(window));
#endif
  if (shellState.appFlags & kAppStartHidden) {
#ifdef _WIN32_WCE
    ShowWindow(window, SW_MINIMIZE);
#endif
    hideMainWindow();
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
#ifndef _WIN32_WCE
  LRESULT guarded = 0;
  if (guardMessage(window, message, wParam, lParam, guarded)) return guarded;
#endif
  switch (message) {
    case WM_CREATE:
#ifndef _WIN32_WCE
      // The hook thread posts the IME's news; from elsewhere it only
      // refreshes a label.
      guardWindow(window, GuardedWindow::kMainWindow, kImeStatusChangedMessage);
#endif
      shellState.menuBar = createMenuBar(window);
      shellState.activateInfo = {};
      shellState.activateInfo.cbSize = sizeof(SHACTIVATEINFO);
      return 0;
    case WM_DESTROY:
      onDestroy(window);
      return 0;
#ifndef _WIN32_WCE
    case WM_NCDESTROY:
      unguardWindow(window);
      destroyIcons();
      return DefWindowProcW(window, message, wParam, lParam);
    case WM_DPICHANGED:
      // Sent by the system on this thread only: the guard turns away the
      // same message from elsewhere, so the rectangle is the system's.
      if (lParam != 0) onDpiChanged(window, HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
      return 0;
#endif
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
#ifndef _WIN32_WCE
    case WM_SYSCOMMAND:
      // Minimized, the window would keep a taskbar button: it hides instead.
      if ((wParam & 0xFFF0) == SC_MINIMIZE) {
        sendToBackground();
        return 0;
      }
      return DefWindowProcW(window, message, wParam, lParam);
#endif
    case WM_SETTINGCHANGE:
      checkRotation();
      SHHandleWMSettingChange(window, wParam, lParam, &shellState.activateInfo);
      return 0;
    case WM_COMMAND:
      if (onCommand(window, LOWORD(wParam), lParam)) return 0;
      return DefWindowProcW(window, message, wParam, lParam);
    case WM_TIMER:
#ifndef _WIN32_WCE
      if (wParam == kFitTimerId) {
        KillTimer(window, kFitTimerId);
        fitMainWindowToSettings(windowDpi(window));
        return 0;
      }
#endif
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
#ifndef _WIN32_WCE
  if (command == kCommandRotateScreen) noteRotationRequest(param);
#endif
  PostMessageW(shellState.mainWnd, WM_COMMAND, command, static_cast<LPARAM>(param));
}

MainWindowCommandSink& mainWindowCommandSink() {
  static MainWindowCommandSink sink;
  return sink;
}
