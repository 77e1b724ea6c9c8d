#include "shell/win32_key_output.h"

#include "engine/key_event.h"
#include "engine/key_set.h"
#include "shell/ce_compat.h"
#include "shell/win32_keyboard_layout.h"

#ifdef _WIN32_WCE

void Win32KeyOutput::sendKeyDown(uint8_t vk) {
  keybd_event(vk, kOwnEventScanCode, kKeyEventDownFlags, kOwnEventExtraInfo);
}

void Win32KeyOutput::sendKeyUp(uint8_t vk) {
  keybd_event(vk, kOwnEventScanCode, kKeyEventUpFlags, kOwnEventExtraInfo);
}

void takeQueuedKeys(KeyBatch& batch) {
  batch.count = 0;
}

void sendKeyBatch(const KeyBatch&) {}

#else  // desktop Windows

namespace {

// Keys whose scan code a keyboard sends after an E0 byte: the cursor and
// editing keys beside the main block, the right Ctrl and Alt, the Windows
// and menu keys, the keypad's divide key, NumLock, and the browser and media
// keys. MapVirtualKeyExW marks most of them itself; wine does not.
constexpr KeySet kExtendedKeys = keySetOf({VK_PRIOR,
                                           VK_NEXT,
                                           VK_END,
                                           VK_HOME,
                                           VK_LEFT,
                                           VK_UP,
                                           VK_RIGHT,
                                           VK_DOWN,
                                           VK_SNAPSHOT,
                                           VK_INSERT,
                                           VK_DELETE,
                                           VK_LWIN,
                                           VK_RWIN,
                                           VK_APPS,
                                           VK_DIVIDE,
                                           VK_NUMLOCK,
                                           VK_RCONTROL,
                                           VK_RMENU,
                                           VK_BROWSER_BACK,
                                           VK_BROWSER_FORWARD,
                                           VK_BROWSER_REFRESH,
                                           VK_BROWSER_STOP,
                                           VK_BROWSER_SEARCH,
                                           VK_BROWSER_FAVORITES,
                                           VK_BROWSER_HOME,
                                           VK_VOLUME_MUTE,
                                           VK_VOLUME_DOWN,
                                           VK_VOLUME_UP,
                                           VK_MEDIA_NEXT_TRACK,
                                           VK_MEDIA_PREV_TRACK,
                                           VK_MEDIA_STOP,
                                           VK_MEDIA_PLAY_PAUSE,
                                           VK_LAUNCH_MAIL,
                                           VK_LAUNCH_MEDIA_SELECT,
                                           VK_LAUNCH_APP1,
                                           VK_LAUNCH_APP2});

// Guarded by the engine lock: only the engine queues keys.
KeyBatch queued;

void sendEvents(const INPUT* events, unsigned count) {
  if (count == 0) return;
  SendInput(count, const_cast<INPUT*>(events), sizeof(INPUT));
}

void queueKey(uint8_t vk, bool up) {
  if (queued.count == kKeyBatchEvents) {
    // A very long raw action: what is queued goes now, in order.
    sendEvents(queued.events, queued.count);
    queued.count = 0;
  }
  INPUT& input = queued.events[queued.count++];
  input = INPUT{};
  input.type = INPUT_KEYBOARD;
  input.ki = injectedKeyEvent(vk, up, foregroundKeyboardLayout());
}

}  // namespace

KEYBDINPUT injectedKeyEvent(uint8_t vk, bool up, HKL layout) {
  KEYBDINPUT key = {};
  key.wVk = vk;
  const UINT scanCode = MapVirtualKeyExW(vk, MAPVK_VK_TO_VSC_EX, layout);
  key.wScan = static_cast<WORD>(scanCode & 0xFF);
  const bool extended = (scanCode & 0xFF00) == 0xE000 || (scanCode & 0xFF00) == 0xE100 ||
                        keySetHas(kExtendedKeys, vk);
  key.dwFlags = (up ? kKeyEventUpFlags : kKeyEventDownFlags) |
                (extended ? static_cast<DWORD>(KEYEVENTF_EXTENDEDKEY) : 0);
  key.dwExtraInfo = kOwnEventExtraInfo;
  return key;
}

void Win32KeyOutput::sendKeyDown(uint8_t vk) {
  queueKey(vk, false);
}

void Win32KeyOutput::sendKeyUp(uint8_t vk) {
  queueKey(vk, true);
}

void takeQueuedKeys(KeyBatch& batch) {
  batch.count = queued.count;
  for (unsigned i = 0; i < queued.count; ++i) batch.events[i] = queued.events[i];
  queued.count = 0;
}

void sendKeyBatch(const KeyBatch& batch) {
  sendEvents(batch.events, batch.count);
}

#endif
