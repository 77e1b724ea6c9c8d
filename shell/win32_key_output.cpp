#include "shell/win32_key_output.h"

#include <windows.h>

#include "engine/key_event.h"
#include "shell/ce_compat.h"

void Win32KeyOutput::sendKeyDown(uint8_t vk) {
  keybd_event(vk, kOwnEventScanCode, kKeyEventDownFlags, kOwnEventExtraInfo);
}

void Win32KeyOutput::sendKeyUp(uint8_t vk) {
  keybd_event(vk, kOwnEventScanCode, kKeyEventUpFlags, kOwnEventExtraInfo);
}
