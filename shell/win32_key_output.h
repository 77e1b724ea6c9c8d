// Key injection, every event marked as the program's own.
//
// Windows CE: one keybd_event per key, scan code 1 (the mark) and extra
// information 11, as the device has always had it.
//
// Desktop Windows: the keys carry their real scan codes (remote-desktop and
// virtual-machine clients and browsers read them) with the extended flag for
// the E0 keys, and the extra information 11 with the platform's injected flag
// marks them as the program's own. They are queued while the engine runs and
// leave together, the keys of one action in one SendInput call, so that no
// key of another program's lands between them.
#pragma once

#include <windows.h>

#include <cstdint>

#include "engine/platform.h"

// Extra information carried by every injected event.
constexpr unsigned kOwnEventExtraInfo = 11;

// Events queued at most before they are sent early; one action rarely needs
// more than a dozen.
constexpr unsigned kKeyBatchEvents = 64;

struct KeyBatch {
#ifndef _WIN32_WCE
  INPUT events[kKeyBatchEvents];
#endif
  unsigned count = 0;
};

struct Win32KeyOutput final : KeyOutput {
  void sendKeyDown(uint8_t vk) override;
  void sendKeyUp(uint8_t vk) override;
};

// Moves the queued keys into `batch`; called with the engine lock held.
void takeQueuedKeys(KeyBatch& batch);
// Sends the batch in one SendInput call (nothing on Windows CE, which sends
// each key at once).
void sendKeyBatch(const KeyBatch& batch);

#ifndef _WIN32_WCE
// The keyboard event of one injected key: its scan code in `layout` and the
// extended flag for an E0 key.
KEYBDINPUT injectedKeyEvent(uint8_t vk, bool up, HKL layout);
#endif
