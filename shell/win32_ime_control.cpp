#include "shell/win32_ime_control.h"

#include <imm.h>

#ifdef _WIN32_WCE

// Every call takes the focused context and gives it back. A context that
// cannot be had reads as a closed IME, as it always has on the device.
ImeAnswer Win32ImeControl::openStatus() {
  HIMC context = ImmGetContext(nullptr);
  bool open = ImmGetOpenStatus(context) != FALSE;
  ImmReleaseContext(nullptr, context);
  return imeAnswered(open ? 1 : 0);
}

ImeAnswer Win32ImeControl::conversionStatus() {
  HIMC context = ImmGetContext(nullptr);
  DWORD conversion = 0;
  DWORD sentence = 0;
  ImmGetConversionStatus(context, &conversion, &sentence);
  ImmReleaseContext(nullptr, context);
  return imeAnswered(conversion);
}

void Win32ImeControl::setOpen(bool open) {
  HIMC context = ImmGetContext(nullptr);
  ImmSetOpenStatus(context, open ? TRUE : FALSE);
  ImmReleaseContext(nullptr, context);
}

void Win32ImeControl::setConversionMode(uint32_t conversion, uint32_t sentence) {
  HIMC context = ImmGetContext(nullptr);
  ImmSetConversionStatus(context, conversion, sentence);
  ImmReleaseContext(nullptr, context);
}

// The answer is in bytes; the engine counts characters.
uint32_t Win32ImeControl::compositionLength() {
  HIMC context = ImmGetContext(nullptr);
  LONG bytes = ImmGetCompositionStringW(context, GCS_COMPSTR, nullptr, 0);
  ImmReleaseContext(nullptr, context);
  return bytes > 0 ? static_cast<uint32_t>(bytes / sizeof(WCHAR)) : 0;
}

#else  // desktop Windows

// Requests of WM_IME_CONTROL (ime.h, which mingw-w64 does not ship).
#ifndef IMC_GETOPENSTATUS
#define IMC_GETCONVERSIONMODE 0x0001
#define IMC_SETCONVERSIONMODE 0x0002
#define IMC_GETOPENSTATUS 0x0005
#define IMC_SETOPENSTATUS 0x0006
#endif

HWND focusedImeWindow() {
  HWND foreground = GetForegroundWindow();
  if (foreground == nullptr) return nullptr;
  GUITHREADINFO info = {};
  info.cbSize = sizeof(info);
  HWND focus = foreground;
  if (GetGUIThreadInfo(GetWindowThreadProcessId(foreground, nullptr), &info) &&
      info.hwndFocus != nullptr) {
    focus = info.hwndFocus;
  }
  return ImmGetDefaultIMEWnd(focus);
}

namespace {

// The IME window that last let a request of this thread go unanswered, and
// when: a window busy for one request is busy for the next one of the same
// key event too, and each wait holds up every key of the system.
thread_local HWND silentWindow = nullptr;
thread_local DWORD silentSince = 0;

}  // namespace

// SMTO_BLOCK: while the hook thread waits, the system does not call the hook
// again from inside the wait with the next key event.
bool sendImeControl(HWND imeWindow, WPARAM request, LPARAM value, DWORD_PTR& answer) {
  answer = 0;
  if (imeWindow == nullptr) return false;
  const DWORD now = GetTickCount();
  if (imeWindow == silentWindow && now - silentSince < kImeQuietMs) return false;
  if (SendMessageTimeoutW(imeWindow, WM_IME_CONTROL, request, value, SMTO_BLOCK | SMTO_ABORTIFHUNG,
                          kImeQueryTimeoutMs, &answer) != 0) {
    silentWindow = nullptr;
    return true;
  }
  answer = 0;
  silentWindow = imeWindow;
  silentSince = now;
  return false;
}

ImeAnswer Win32ImeControl::openStatus() {
  DWORD_PTR open = 0;
  if (!sendImeControl(findImeWindow(), IMC_GETOPENSTATUS, 0, open)) return kImeUnanswered;
  return imeAnswered(open != 0 ? 1 : 0);
}

ImeAnswer Win32ImeControl::conversionStatus() {
  DWORD_PTR conversion = 0;
  if (!sendImeControl(findImeWindow(), IMC_GETCONVERSIONMODE, 0, conversion)) {
    return kImeUnanswered;
  }
  return imeAnswered(static_cast<uint32_t>(conversion));
}

void Win32ImeControl::setOpen(bool open) {
  DWORD_PTR ignored = 0;
  sendImeControl(findImeWindow(), IMC_SETOPENSTATUS, open ? TRUE : FALSE, ignored);
}

// The IME window takes no sentence mode with the conversion mode; the
// sentence mode is left as the IME has it.
void Win32ImeControl::setConversionMode(uint32_t conversion, uint32_t) {
  DWORD_PTR ignored = 0;
  sendImeControl(findImeWindow(), IMC_SETCONVERSIONMODE, static_cast<LPARAM>(conversion), ignored);
}

// Another process's composition cannot be read: none is known.
uint32_t Win32ImeControl::compositionLength() {
  return 0;
}

#endif
