// The system-wide low-level keyboard hook that hands real key events to the
// engine, and the watcher that keeps the SlidingOut registry value at 0 while
// the hook is installed. On desktop Windows the hook belongs to the hook
// thread (hook_thread.h): installing and removing it are carried out there,
// whoever asks.
#pragma once

#include <windows.h>

#include "shell/ce_compat.h"

constexpr const wchar_t* kSlidingOutKey = L"Software\\OEM\\Keyboard";
constexpr const wchar_t* kSlidingOutValue = L"SlidingOut";
#ifdef _WIN32_WCE
// On the device only one program can hold the keyboard hook.
constexpr const wchar_t* kHookFailedMessage =
    L"すでに SetWindowsHookEx が使われていると思われるので起動できませんでした。";
#else
// Desktop low-level hooks chain: another program's hook is never the reason.
constexpr const wchar_t* kHookFailedMessage =
    L"キーボードのフックを設定できなかったので起動できませんでした。";
#endif

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
// only when asked, on the calling thread.
bool installKeyHook(bool showFailureMessage);
// Closes the watcher, then removes the hook; both handles end up null.
void removeKeyHook();
// True while the program has its hook installed.
bool keyHookInstalled();

LRESULT CALLBACK keyHookProc(int code, WPARAM message, LPARAM event);

// Writes DWORD 0 back into SlidingOut after it became non-zero.
void onSlidingOutChanged(HREGNOTIFY notification, DWORD userData, BYTE* data, UINT dataSize);

#ifndef _WIN32_WCE
// The hook thread's watchdog: installs the hook again when keys came by that
// it never saw (hook_watchdog.h).
void watchOverKeyHook();
// Forgets the keys the engine believes held, after the session was unlocked
// or the input desktop changed.
void forgetKeysHeldElsewhere();
// Removes the hook on its thread without telling the program, as Windows
// does with a hook that timed out (tests).
void dropKeyHookBehindTheProgramsBack();
#endif
