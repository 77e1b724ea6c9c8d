#include "shell/key_hook.h"

#include <cstring>
#include <cwchar>

#include "engine/key_event.h"
#include "shell/engine_lock.h"
#include "shell/hook_thread.h"
#include "shell/hook_watchdog.h"
#include "shell/ime_label.h"
#include "shell/resource_ids.h"
#include "shell/settings_dialog.h"
#include "shell/shell_state.h"
#include "shell/win32_key_output.h"

namespace {

// The program's own injected events. A desktop keyboard's real Esc key has
// scan code 1 as well, so there only the extra information the program puts
// on its events, together with the platform's injected flag, marks them.
bool isOwnEvent(const KBDLLHOOKSTRUCT& key) {
#ifdef _WIN32_WCE
  return key.scanCode == kOwnEventScanCode;
#else
  return key.dwExtraInfo == kOwnEventExtraInfo && (key.flags & LLKHF_INJECTED) != 0;
#endif
}

// The window with the keyboard focus when the foreground window is one of
// this program's, whichever of its threads owns it; null otherwise.
HWND focusInThisProgram() {
  HWND foreground = GetForegroundWindow();
  if (foreground == nullptr) return nullptr;
  DWORD process = 0;
  const DWORD thread = GetWindowThreadProcessId(foreground, &process);
  if (process != GetCurrentProcessId()) return nullptr;
  GUITHREADINFO info = {};
  info.cbSize = sizeof(info);
  if (!GetGUIThreadInfo(thread, &info)) return nullptr;
  return info.hwndFocus;
}

// Keys typed into the program's own edit fields (the timeout, the keymap
// path, a file dialog's name) mean themselves; only the settings dialog's
// test field is there to try the input method on. The settings dialog is
// known by its procedure, which the hook thread can read without touching
// the UI thread's records.
bool typedIntoOwnField() {
  HWND focus = focusInThisProgram();
  wchar_t className[8] = {};
  if (focus == nullptr || GetClassNameW(focus, className, 8) == 0 ||
      _wcsicmp(className, L"Edit") != 0) {
    return false;
  }
  if (GetDlgCtrlID(focus) != IDC_TEST_FIELD) return true;
  HWND dialog = GetParent(focus);
  const auto procedure = reinterpret_cast<DLGPROC>(GetWindowLongPtrW(dialog, DWLP_DLGPROC));
  return procedure != settingsDialogProc;
}

bool inputModeOn(const EngineState& engine) {
  return (engine.options & (kOptionKanaToggle | kOptionTwoTouch)) != 0;
}

// What the label and the icon show of the IME.
constexpr uint32_t kShownImeBits = kImeStatusOpen | kImeStatusKanaInput;

// Installing and removing happen on the thread the hook belongs to.
LRESULT installHere(WPARAM) {
  if (keyHookInstalled()) return TRUE;
  // A global hook needs a module; without a recorded instance, the program's.
  HINSTANCE instance = shellState.instance ? shellState.instance : GetModuleHandleW(nullptr);
  HHOOK hook = hookPlatform.setWindowsHookEx(WH_KEYBOARD_LL, keyHookProc, instance, 0);
  if (hook == nullptr) return FALSE;
#ifndef _WIN32_WCE
  restartWatchdog(GetTickCount());
#endif
  {
    EngineLock lock;
    shellState.hookHandle = hook;
  }
  if (hookPlatform.registryNotifyCallback(HKEY_LOCAL_MACHINE, kSlidingOutKey, kSlidingOutValue,
                                          onSlidingOutChanged, 0, nullptr,
                                          &shellState.watcherHandle) != S_OK) {
    shellState.watcherHandle = nullptr;
  }
  return TRUE;
}

LRESULT removeHere(WPARAM) {
  if (shellState.watcherHandle != nullptr) {
    hookPlatform.registryCloseNotification(shellState.watcherHandle);
    shellState.watcherHandle = nullptr;
  }
  HHOOK hook = nullptr;
  {
    EngineLock lock;
    hook = shellState.hookHandle;
    shellState.hookHandle = nullptr;
  }
  if (hook != nullptr) hookPlatform.unhookWindowsHookEx(hook);
  return 0;
}

LRESULT runHookWork(LRESULT (*work)(WPARAM)) {
#ifdef _WIN32_WCE
  return work(0);
#else
  return runOnHookThread(work, 0);
#endif
}

// Tells the main window that the IME's state as shown changed. Posted, so
// that the hook never waits for the UI thread.
void announceImeStatus() {
#ifndef _WIN32_WCE
  if (shellState.mainWnd != nullptr) {
    PostMessageW(shellState.mainWnd, kImeStatusChangedMessage, 0, 0);
  }
#endif
}

}  // namespace

HookPlatform win32HookPlatform() {
  return {SetWindowsHookExW, UnhookWindowsHookEx,    CallNextHookEx,
          MessageBoxW,       RegistryNotifyCallback, RegistryCloseNotification};
}

HookPlatform hookPlatform = win32HookPlatform();

bool installKeyHook(bool showFailureMessage) {
  if (runHookWork(installHere) != FALSE) return true;
  if (showFailureMessage) {
    hookPlatform.messageBox(nullptr, kHookFailedMessage, L"padquiltkana", MB_OK);
  }
  return false;
}

void removeKeyHook() {
  runHookWork(removeHere);
}

bool keyHookInstalled() {
  EngineLock lock;
  return shellState.hookHandle != nullptr;
}

LRESULT CALLBACK keyHookProc(int code, WPARAM message, LPARAM event) {
#ifndef _WIN32_WCE
  noteHookCall(GetTickCount());
#endif
  const auto* key = reinterpret_cast<const KBDLLHOOKSTRUCT*>(event);
  if (code != HC_ACTION || key == nullptr) {
    return hookPlatform.callNextHookEx(shellState.hookHandle, code, message, event);
  }
  // The engine's own injected events pass at once, without the lock: on
  // desktop Windows they come back through this procedure while the keys of
  // the event before are still being sent.
  if (isOwnEvent(*key)) {
    return hookPlatform.callNextHookEx(shellState.hookHandle, 0, message, event);
  }
  IncomingKeyEvent incoming = {key->vkCode, static_cast<uint32_t>(message), key->time};
  bool swallow = false;
  bool imeShownChanged = false;
  {
    EngineLock lock;
    EngineState& engine = shellState.engine;
    // Only an input mode converts keys; ordinary typing asks nothing.
    if (inputModeOn(engine)) incoming.asTyped = typedIntoOwnField();
    const uint32_t shownBefore = engine.imeStatus & kShownImeBits;
    swallow = handleKeyEvent(engine, incoming);
    imeShownChanged = (engine.imeStatus & kShownImeBits) != shownBefore;
  }  // the engine's keys leave here
  if (imeShownChanged) announceImeStatus();
  if (swallow) return 1;
  return hookPlatform.callNextHookEx(shellState.hookHandle, 0, message, event);
}

void onSlidingOutChanged(HREGNOTIFY, DWORD, BYTE* data, UINT dataSize) {
  DWORD value = 0;
  if (data == nullptr || dataSize != sizeof(value)) return;
  std::memcpy(&value, data, sizeof(value));
  if (value == 0) return;
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kSlidingOutKey, 0, kRegWriteAccess, &key) !=
      ERROR_SUCCESS) {
    return;
  }
  const DWORD zero = 0;
  RegSetValueExW(key, kSlidingOutValue, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&zero),
                 sizeof(zero));
  RegCloseKey(key);
}

#ifndef _WIN32_WCE

void watchOverKeyHook() {
  if (!keyHookInstalled() || !hookMissedInput()) return;
  // Windows dropped the hook: a new one takes its place; the watcher stays.
  HHOOK stale = nullptr;
  {
    EngineLock lock;
    stale = shellState.hookHandle;
  }
  hookPlatform.unhookWindowsHookEx(stale);
  HINSTANCE instance = shellState.instance ? shellState.instance : GetModuleHandleW(nullptr);
  HHOOK hook = hookPlatform.setWindowsHookEx(WH_KEYBOARD_LL, keyHookProc, instance, 0);
  restartWatchdog(GetTickCount());
  EngineLock lock;
  shellState.hookHandle = hook;
}

void forgetKeysHeldElsewhere() {
  EngineLock lock;
  forgetHeldKeys(shellState.engine);
}

namespace {
LRESULT dropHere(WPARAM) {
  HHOOK hook = nullptr;
  {
    EngineLock lock;
    hook = shellState.hookHandle;
  }
  if (hook != nullptr) hookPlatform.unhookWindowsHookEx(hook);
  return 0;
}
}  // namespace

void dropKeyHookBehindTheProgramsBack() {
  runOnHookThread(dropHere, 0);
}

#endif
