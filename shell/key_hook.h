// The system-wide low-level keyboard hook that hands real key events to the
// engine, and the watcher that keeps the SlidingOut registry value at 0 while
// the hook is installed.
#pragma once

#include <windows.h>

#include "shell/ce_compat.h"

constexpr const wchar_t* kSlidingOutKey = L"Software\\OEM\\Keyboard";
constexpr const wchar_t* kSlidingOutValue = L"SlidingOut";
constexpr const wchar_t* kHookFailedMessage =
    L"すでに SetWindowsHookEx が使われていると思われるので起動できませんでした。";

// The platform calls of the hook and the watcher; tests replace them.
struct HookPlatform {
  decltype(&SetWindowsHookExW) setWindowsHookEx;
  decltype(&UnhookWindowsHookEx) unhookWindowsHookEx;
  decltype(&CallNextHookEx) callNextHookEx;
  decltype(&MessageBoxW) messageBox;
  decltype(&RegistryNotifyCallback) registryNotifyCallback;
  decltype(&RegistryCloseNotification) registryCloseNotification;
};

// The real calls.
HookPlatform win32HookPlatform();
extern HookPlatform hookPlatform;

// Installs the hook (and then the watcher) unless a hook is installed; true
// when a hook is installed on return. A failure shows kHookFailedMessage
// only when asked.
bool installKeyHook(bool showFailureMessage);
// Closes the watcher, then removes the hook; both handles end up null.
void removeKeyHook();

LRESULT CALLBACK keyHookProc(int code, WPARAM message, LPARAM event);

// Writes DWORD 0 back into SlidingOut after it became non-zero.
void onSlidingOutChanged(HREGNOTIFY notification, DWORD userData, BYTE* data, UINT dataSize);
