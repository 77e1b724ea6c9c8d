// Measures at a window's DPI on desktop Windows. The program is aware of each
// monitor's DPI (its manifest says so): frames and icons are measured for the
// DPI of the window they belong to. The functions that do so came with
// Windows 10 and are looked up when first used; where they are missing (older
// Windows, some wine versions) the system DPI stands in.
#pragma once

#include <windows.h>

#ifndef _WIN32_WCE

constexpr UINT kDefaultDpi = 96;

// The window's DPI; the system's without GetDpiForWindow.
UINT windowDpi(HWND window);
// GetSystemMetricsForDpi, or GetSystemMetrics scaled from the system DPI.
int systemMetricForDpi(int index, UINT dpi);
// The window rectangle around `client` for a window of this style at `dpi`.
RECT windowRectForClient(const RECT& client, DWORD style, bool hasMenu, DWORD exStyle, UINT dpi);

// The program's icon at `size` pixels, drawn from the icon file's nearest
// image; the caller destroys it (DestroyIcon).
HICON loadProgramIcon(HINSTANCE instance, int resourceId, int size);
// The notification area's small icon: LoadIconMetric (comctl32) where it
// exists, else the small-icon size of the system DPI; the caller destroys it.
HICON loadSmallIconMetric(HINSTANCE instance, int resourceId);

#endif
