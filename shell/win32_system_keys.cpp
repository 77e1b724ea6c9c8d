#include "shell/win32_system_keys.h"

#ifndef _WIN32_WCE

#include <windows.h>

bool Win32SystemKeyState::isKeyDown(uint8_t vk) {
  return (GetAsyncKeyState(vk) & 0x8000) != 0;
}

#endif
