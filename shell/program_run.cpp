#include "shell/program_run.h"

#include <objbase.h>
#ifndef _WIN32_WCE
#include <commctrl.h>
#endif

#include "engine/engine_state.h"
#include "shell/command_line.h"
#include "shell/engine_lock.h"
#include "shell/hook_thread.h"
#include "shell/key_hook.h"
#include "shell/keymap_loading.h"
#include "shell/main_window.h"
#include "shell/message_guard.h"
#include "shell/settings_store.h"
#include "shell/settings_window.h"
#include "shell/shell_state.h"
#include "shell/single_instance.h"
#include "shell/tray_icon.h"
#include "shell/win32_ime_control.h"
#include "shell/win32_key_output.h"
#include "shell/win32_keyboard_layout.h"
#include "shell/win32_system_keys.h"

namespace {

Win32KeyOutput keyOutput;
Win32ImeControl imeControl;
#ifndef _WIN32_WCE
Win32SystemKeyState systemKeys;
Win32KeyboardLayout keyboardLayout;
#endif

// Gets the next message; false at the end of the loop.
bool nextMessage(MSG& message) {
  for (;;) {
    const BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got > 0) return true;
    if (got < 0) return false;
#ifndef _WIN32_WCE
    // A quit that another process posted does not end the program.
    if (!programQuitPosted()) continue;
#endif
    return false;
  }
}

int runMessageLoop() {
  MSG message;
  while (nextMessage(message)) {
    if ((shellState.appFlags & kAppSettingsShown) && shellState.settingsDialog != nullptr &&
        IsDialogMessageW(shellState.settingsDialog, &message)) {
      continue;
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return static_cast<int>(message.wParam);
}

void connectPlatform(EngineState& engine) {
  engine.keyOutput = &keyOutput;
  engine.imeControl = &imeControl;
#ifndef _WIN32_WCE
  // The desktop checks held keys against the system and types a direct
  // character with the keys of the foreground window's layout.
  engine.systemKeys = &systemKeys;
  engine.keyboardLayout = &keyboardLayout;
#endif
}

// On desktop Windows the hook gets a thread of its own; when it cannot be
// had, the hook runs on this thread as on Windows CE.
void startHookThreadIfAny() {
#ifndef _WIN32_WCE
  startHookThread();
#endif
}

// COM for the whole run on desktop Windows: the shortcut, ShellExecute and
// the file-open dialog want it on this thread. Windows CE is left as it was.
class ComForThisThread {
 public:
  ComForThisThread() {
#ifndef _WIN32_WCE
    result_ = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
#endif
  }
  ~ComForThisThread() {
    if (SUCCEEDED(result_)) CoUninitialize();
  }
  ComForThisThread(const ComForThisThread&) = delete;
  ComForThisThread& operator=(const ComForThisThread&) = delete;

 private:
  HRESULT result_ = E_NOTIMPL;
};

void stopHookThreadIfAny() {
#ifndef _WIN32_WCE
  stopHookThread();
#endif
}

}  // namespace

void finishRun() {
  stopHookThreadIfAny();
  {
    EngineLock lock;
    clearKeymaps(shellState.engine);
  }
  saveDirtySettings();
}

int runProgram(HINSTANCE instance, const wchar_t* commandLine, int showCommand) {
  const ComForThisThread com;
  EngineState& engine = shellState.engine;
  connectPlatform(engine);
  setEngineDefaults(engine);
  engine.options = firstStartOptions();
#ifndef _WIN32_WCE
  // The controls of Common Controls 6 that the manifest asks for: the
  // system's visual styles.
  INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
#endif
  parseCommandLine(commandLine);
  loadSettings();
  if (!createMainWindow(instance, showCommand)) {
    clearKeymaps(engine);
    return 0;
  }
  shellState.appFlags |= kAppRunning;
#ifndef _WIN32_WCE
  // Messages from other processes are untrusted from here on.
  installMessageGuard();
  // Hidden, the desktop program is reached through its icon.
  addTrayIcon();
#endif
  if (!(shellState.appFlags & kAppStartHidden)) showSettingsWindow(showCommand);
  selectModeKeymap(engine);
  // The resources hold no accelerator table, so none is loaded or used.
  loadConfiguredKeymaps(shellState.mainWnd);
  {
    // Set before the hook runs, so that no exec key finds it missing.
    EngineLock lock;
    engine.mainWindow = &mainWindowCommandSink();
  }
  startHookThreadIfAny();
  if (!installKeyHook(true)) DestroyWindow(shellState.mainWnd);
  shellState.timerActive = 1;
  SetTimer(shellState.mainWnd, kHookTimerId, kHookTimerPeriodMs, nullptr);
  const int exitCode = runMessageLoop();
#ifndef _WIN32_WCE
  removeMessageGuard();
#endif
  finishRun();
#ifndef _WIN32_WCE
  releaseSingleInstance();
#endif
  return exitCode;
}
