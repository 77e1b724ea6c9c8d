// The keys the system holds down, for the engine's check of its records of
// held keys (desktop Windows).
#pragma once

#include "engine/platform.h"

#ifndef _WIN32_WCE

// GetAsyncKeyState. The hook is called before the system takes in the event
// it is handling, so the key of that event reads as it was before it; any
// other key, the program's own injected ones included (SendInput passes
// them through the hooks before it returns), reads as it is.
struct Win32SystemKeyState final : SystemKeyState {
  bool isKeyDown(uint8_t vk) override;
};

#endif
