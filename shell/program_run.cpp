#include "shell/program_run.h"

#ifndef _WIN32_WCE
#include <commctrl.h>
#endif

#include "engine/engine_state.h"
#include "shell/command_line.h"
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

namespace {

Win32KeyOutput keyOutput;
Win32ImeControl imeControl;

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

}  // namespace

void finishRun() {
  clearKeymaps(shellState.engine);
  saveDirtySettings();
}

int runProgram(HINSTANCE instance, const wchar_t* commandLine, int showCommand) {
  EngineState& engine = shellState.engine;
  engine.keyOutput = &keyOutput;
  engine.imeControl = &imeControl;
  setEngineDefaults(engine);
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
  if (!installKeyHook(true)) DestroyWindow(shellState.mainWnd);
  engine.mainWindow = &mainWindowCommandSink();
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
