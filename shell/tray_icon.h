// The desktop program's notification-area icon. Its tooltip names the program
// and the input mode; a click shows the program, and its menu shows the
// program, switches the input mode and quits. The icon lives as long as the
// main window and comes back when Explorer restarts. Windows CE has none.
#pragma once

#include <windows.h>

#include <cstdint>

#ifndef _WIN32_WCE

constexpr const wchar_t* kTrayWindowClass = L"padQuiltKanaTray";
constexpr UINT kTrayIconId = 1;
// The icon's mouse events arrive as this message, the event in lParam.
constexpr UINT kTrayCallbackMessage = WM_APP + 1;
constexpr int kTrayTipUnits = 128;

// "padquiltkana - " and the input mode's name; in an input mode with the IME
// in kana input (imeStatus), a second line saying that the keypad is left
// alone and what to do.
void trayTipText(uint32_t options, uint32_t imeStatus, wchar_t (&tip)[kTrayTipUnits]);
// That second line.
constexpr const wchar_t* kTrayKanaInputNote =
    L"IMEがかな入力なので、テンキーを変換しません。ローマ字入力にしてください。";

// The shell's icon call (Shell_NotifyIconW); tests replace it, nullptr
// restores it.
using NotifyIconCall = BOOL (*)(DWORD message, NOTIFYICONDATAW* data);
void useNotifyIconCall(NotifyIconCall call);

// The hidden window's timer that tries the icon again after a refusal.
constexpr UINT_PTR kTrayRetryTimerId = 1;

// Creates the hidden window that receives the icon's events, then the icon,
// at the notification area's small-icon size. False when the window cannot
// be made. An icon the shell refuses (no taskbar yet, a busy log-on) is
// tried again on a timer until the shell takes it, and added again whenever
// the taskbar announces itself.
bool addTrayIcon();
// The icon's image again, after a DPI change.
void refreshTrayIconImage();
// The tooltip follows the input mode and the IME.
void showInputModeInTray();
// Removes the icon and its window.
void removeTrayIcon();

// A command of the icon's menu: IDM_TRAY_SHOW, IDM_TRAY_MODE_*, IDM_QUIT.
void runTrayCommand(UINT command);

LRESULT CALLBACK trayWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

#endif
