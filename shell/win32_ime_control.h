// The IME of the focused input context. On Windows CE the context of the
// null window is the focused one. On desktop Windows another process's
// context cannot be taken, so the focused window's default IME window is
// asked with WM_IME_CONTROL instead.
#pragma once

#include <windows.h>

#include "engine/platform.h"

// Longest wait for a desktop IME window's answer, in ms. The queries run
// inside the keyboard hook, which the system removes when it blocks.
constexpr unsigned kImeQueryTimeoutMs = 50;
// After a request went unanswered, the same thread does not ask that IME
// window again for this long: its questions are unanswered at once.
constexpr unsigned kImeQuietMs = 200;

#ifndef _WIN32_WCE
// The default IME window of the window with the keyboard focus, or null.
HWND focusedImeWindow();
// One WM_IME_CONTROL request; false when there is no window or no answer in
// time (the question is then unanswered, not answered "closed"), and for
// kImeQuietMs after that window last left a request unanswered.
bool sendImeControl(HWND imeWindow, WPARAM request, LPARAM value, DWORD_PTR& answer);
#endif

struct Win32ImeControl final : ImeControl {
#ifndef _WIN32_WCE
  // Where the requests go; tests point it elsewhere.
  HWND (*findImeWindow)() = focusedImeWindow;
#endif
  ImeAnswer openStatus() override;
  ImeAnswer conversionStatus() override;
  void setOpen(bool open) override;
  void setConversionMode(uint32_t conversion, uint32_t sentence) override;
  uint32_t compositionLength() override;
};
