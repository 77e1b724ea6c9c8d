#include "shell/program_run.h"

#include "engine/engine_state.h"
#include "shell/command_line.h"
#include "shell/key_hook.h"
#include "shell/keymap_loading.h"
#include "shell/main_window.h"
#include "shell/settings_store.h"
#include "shell/settings_window.h"
#include "shell/shell_state.h"
#include "shell/tray_icon.h"
#include "shell/win32_ime_control.h"
#include "shell/win32_key_output.h"

namespace {

Win32KeyOutput keyOutput;
Win32ImeControl imeControl;

int runMessageLoop() {
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
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
  parseCommandLine(commandLine);
  loadSettings();
  if (!createMainWindow(instance, showCommand)) {
    clearKeymaps(engine);
    return 0;
  }
  shellState.appFlags |= kAppRunning;
#ifndef _WIN32_WCE
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
  finishRun();
  return exitCode;
}
