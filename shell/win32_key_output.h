// Key injection through keybd_event, every event marked as the program's own.
#pragma once

#include "engine/platform.h"

// Extra information carried by every injected event.
constexpr unsigned kOwnEventExtraInfo = 11;

struct Win32KeyOutput final : KeyOutput {
  void sendKeyDown(uint8_t vk) override;
  void sendKeyUp(uint8_t vk) override;
};
