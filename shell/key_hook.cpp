#include "shell/key_hook.h"

#include <cstring>
#include <cwchar>

#include "engine/key_event.h"
#include "shell/resource_ids.h"
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

// Keys typed into the program's own edit fields (the timeout, the keymap
// path, a file dialog's name) mean themselves; only the settings dialog's
// test field is there to try the input method on.
bool typedIntoOwnField() {
  HWND foreground = GetForegroundWindow();
  if (foreground == nullptr ||
      GetWindowThreadProcessId(foreground, nullptr) != GetCurrentThreadId()) {
    return false;
  }
  HWND focus = GetFocus();
  wchar_t className[8] = {};
  if (focus == nullptr || GetClassNameW(focus, className, 8) == 0 ||
      _wcsicmp(className, L"Edit") != 0) {
    return false;
  }
  return GetDlgCtrlID(focus) != IDC_TEST_FIELD || GetParent(focus) != shellState.settingsDialog;
}

}  // namespace

HookPlatform win32HookPlatform() {
  return {SetWindowsHookExW, UnhookWindowsHookEx,    CallNextHookEx,
          MessageBoxW,       RegistryNotifyCallback, RegistryCloseNotification};
}

HookPlatform hookPlatform = win32HookPlatform();

bool installKeyHook(bool showFailureMessage) {
  if (shellState.hookHandle != nullptr) return true;
  // A global hook needs a module; without a recorded instance, the program's.
  HINSTANCE instance = shellState.instance ? shellState.instance : GetModuleHandleW(nullptr);
  shellState.hookHandle = hookPlatform.setWindowsHookEx(WH_KEYBOARD_LL, keyHookProc, instance, 0);
  if (shellState.hookHandle == nullptr) {
    if (showFailureMessage) {
      hookPlatform.messageBox(nullptr, kHookFailedMessage, L"padquiltkana", MB_OK);
    }
    return false;
  }
  if (hookPlatform.registryNotifyCallback(HKEY_LOCAL_MACHINE, kSlidingOutKey, kSlidingOutValue,
                                          onSlidingOutChanged, 0, nullptr,
                                          &shellState.watcherHandle) != S_OK) {
    shellState.watcherHandle = nullptr;
  }
  return true;
}

void removeKeyHook() {
  if (shellState.watcherHandle != nullptr) {
    hookPlatform.registryCloseNotification(shellState.watcherHandle);
    shellState.watcherHandle = nullptr;
  }
  if (shellState.hookHandle != nullptr) {
    hookPlatform.unhookWindowsHookEx(shellState.hookHandle);
    shellState.hookHandle = nullptr;
  }
}

LRESULT CALLBACK keyHookProc(int code, WPARAM message, LPARAM event) {
  const auto* key = reinterpret_cast<const KBDLLHOOKSTRUCT*>(event);
  if (code != HC_ACTION || key == nullptr) {
    return hookPlatform.callNextHookEx(shellState.hookHandle, code, message, event);
  }
  // The engine's own injected events pass at once.
  if (isOwnEvent(*key)) {
    return hookPlatform.callNextHookEx(shellState.hookHandle, 0, message, event);
  }
  IncomingKeyEvent incoming = {key->vkCode, static_cast<uint32_t>(message), key->time};
  // Only an input mode converts keys; ordinary typing asks nothing.
  if (shellState.engine.options & (kOptionKanaToggle | kOptionTwoTouch)) {
    incoming.asTyped = typedIntoOwnField();
  }
  if (handleKeyEvent(shellState.engine, incoming)) return 1;
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
