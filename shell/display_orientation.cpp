#include "shell/display_orientation.h"

#include <windows.h>

namespace {

#ifdef _WIN32_WCE

// The device speaks the program's values directly.
struct PlatformOrientation final : DisplayOrientation {
  uint32_t readOrientation() override {
    DEVMODEW request = {};
    request.dmSize = sizeof(request);
    request.dmFields = DM_DISPLAYORIENTATION;
    ChangeDisplaySettingsEx(nullptr, &request, nullptr, CDS_TEST, nullptr);
    return request.dmDisplayOrientation;
  }
  void setOrientation(uint32_t orientation) override {
    DEVMODEW request = {};
    request.dmSize = sizeof(request);
    request.dmFields = DM_DISPLAYORIENTATION;
    request.dmDisplayOrientation = orientation & 7;
    ChangeDisplaySettingsEx(nullptr, &request, nullptr, 0, nullptr);
  }
};

#else

// The desktop reports the current mode through EnumDisplaySettings, and a
// turn between landscape and portrait must swap the mode's width and height.
struct PlatformOrientation final : DisplayOrientation {
  uint32_t readOrientation() override {
    DEVMODEW mode = {};
    mode.dmSize = sizeof(mode);
    if (!EnumDisplaySettingsExW(nullptr, ENUM_CURRENT_SETTINGS, &mode, 0)) return kOrientation0;
    if (!(mode.dmFields & DM_DISPLAYORIENTATION)) return kOrientation0;
    return orientationFromDesktop(mode.dmDisplayOrientation);
  }
  void setOrientation(uint32_t orientation) override {
    uint32_t desktopValue = 0;
    if (!orientationToDesktop(orientation & 7, desktopValue)) return;
    DEVMODEW mode = {};
    mode.dmSize = sizeof(mode);
    if (!EnumDisplaySettingsExW(nullptr, ENUM_CURRENT_SETTINGS, &mode, 0)) return;
    const bool wasPortrait = (mode.dmDisplayOrientation & 1) != 0;
    const bool portrait = (desktopValue & 1) != 0;
    if (wasPortrait != portrait) {
      const DWORD width = mode.dmPelsWidth;
      mode.dmPelsWidth = mode.dmPelsHeight;
      mode.dmPelsHeight = width;
    }
    mode.dmDisplayOrientation = desktopValue;
    mode.dmFields = DM_DISPLAYORIENTATION | DM_PELSWIDTH | DM_PELSHEIGHT;
    ChangeDisplaySettingsExW(nullptr, &mode, nullptr, 0, nullptr);
  }
};

#endif

PlatformOrientation platformOrientation;
DisplayOrientation* installedOrientation = nullptr;

}  // namespace

DisplayOrientation& displayOrientation() {
  if (installedOrientation != nullptr) return *installedOrientation;
  return platformOrientation;
}

void useDisplayOrientation(DisplayOrientation* orientation) {
  installedOrientation = orientation;
}

uint32_t orientationFromDesktop(uint32_t desktopValue) {
  switch (desktopValue) {
    case 1:  // DMDO_90
      return kOrientation90;
    case 2:  // DMDO_180
      return kOrientation180;
    case 3:  // DMDO_270 on the desktop
      return kOrientation270;
    default:
      return kOrientation0;
  }
}

bool orientationToDesktop(uint32_t orientation, uint32_t& desktopValue) {
  switch (orientation) {
    case kOrientation0:
      desktopValue = 0;
      return true;
    case kOrientation90:
      desktopValue = 1;
      return true;
    case kOrientation180:
      desktopValue = 2;
      return true;
    case kOrientation270:
      desktopValue = 3;
      return true;
    default:
      return false;
  }
}
