#include "shell/window_dpi.h"

#ifndef _WIN32_WCE

#include <commctrl.h>

namespace {

using GetDpiForWindowCall = UINT(WINAPI*)(HWND);
using GetSystemMetricsForDpiCall = int(WINAPI*)(int, UINT);
using AdjustWindowRectExForDpiCall = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
using LoadIconMetricCall = HRESULT(WINAPI*)(HINSTANCE, PCWSTR, int, HICON*);

// Looks a function up once: in user32, which every window program has.
template <typename Call>
Call user32Function(const char* name) {
  HMODULE user32 = GetModuleHandleW(L"user32.dll");
  if (user32 == nullptr) return nullptr;
  return reinterpret_cast<Call>(reinterpret_cast<void*>(GetProcAddress(user32, name)));
}

GetDpiForWindowCall getDpiForWindow() {
  static const auto call = user32Function<GetDpiForWindowCall>("GetDpiForWindow");
  return call;
}

GetSystemMetricsForDpiCall getSystemMetricsForDpi() {
  static const auto call = user32Function<GetSystemMetricsForDpiCall>("GetSystemMetricsForDpi");
  return call;
}

AdjustWindowRectExForDpiCall adjustWindowRectExForDpi() {
  static const auto call = user32Function<AdjustWindowRectExForDpiCall>("AdjustWindowRectExForDpi");
  return call;
}

// The Common Controls 6 that the manifest names; the function is not in the
// older library that the system also has.
LoadIconMetricCall loadIconMetric() {
  static const auto call = []() -> LoadIconMetricCall {
    HMODULE comctl32 = LoadLibraryW(L"comctl32.dll");
    if (comctl32 == nullptr) return nullptr;
    return reinterpret_cast<LoadIconMetricCall>(
        reinterpret_cast<void*>(GetProcAddress(comctl32, "LoadIconMetric")));
  }();
  return call;
}

UINT systemDpi() {
  HDC screen = GetDC(nullptr);
  const int dpi = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
  if (screen != nullptr) ReleaseDC(nullptr, screen);
  return dpi > 0 ? static_cast<UINT>(dpi) : kDefaultDpi;
}

}  // namespace

UINT windowDpi(HWND window) {
  if (GetDpiForWindowCall call = getDpiForWindow()) {
    const UINT dpi = call(window);
    if (dpi != 0) return dpi;
  }
  return systemDpi();
}

int systemMetricForDpi(int index, UINT dpi) {
  if (GetSystemMetricsForDpiCall call = getSystemMetricsForDpi()) return call(index, dpi);
  return MulDiv(GetSystemMetrics(index), static_cast<int>(dpi), static_cast<int>(systemDpi()));
}

RECT windowRectForClient(const RECT& client, DWORD style, bool hasMenu, DWORD exStyle, UINT dpi) {
  RECT frame = client;
  if (AdjustWindowRectExForDpiCall call = adjustWindowRectExForDpi()) {
    if (call(&frame, style, hasMenu, exStyle, dpi)) return frame;
    frame = client;
  }
  AdjustWindowRectEx(&frame, style, hasMenu, exStyle);
  return frame;
}

HICON loadProgramIcon(HINSTANCE instance, int resourceId, int size) {
  return static_cast<HICON>(
      LoadImageW(instance, MAKEINTRESOURCEW(resourceId), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
}

HICON loadSmallIconMetric(HINSTANCE instance, int resourceId) {
  if (LoadIconMetricCall call = loadIconMetric()) {
    HICON icon = nullptr;
    if (SUCCEEDED(call(instance, MAKEINTRESOURCEW(resourceId), LIM_SMALL, &icon)) &&
        icon != nullptr) {
      return icon;
    }
  }
  return loadProgramIcon(instance, resourceId, systemMetricForDpi(SM_CXSMICON, systemDpi()));
}

#endif
