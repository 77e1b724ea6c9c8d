#include "engine/key_event.h"

#include "engine/keypad_dispatcher.h"

namespace {

// Keys of a desktop keyboard: low-level hooks report the left and right Ctrl
// keys, never VK_CONTROL, and the half-width/full-width key as 0xF3 and 0xF4
// in turn.
enum : uint8_t {
  kVkLeftControl = 0xA2,
  kVkRightControl = 0xA3,
  kVkDbeDbcsChar = 0xF4,
};

struct SwapRow {
  uint8_t incoming;
  uint32_t option;
  uint8_t injected;
};

// Ctrl turns into the alphanumeric key, while both CapsLock and the
// alphanumeric key turn into Ctrl.
constexpr SwapRow kSwapTable[] = {
    {kVkControl, kOptionSwapCtrlCaps, kVkDbeAlphanumeric},
#ifndef _WIN32_WCE
    {kVkLeftControl, kOptionSwapCtrlCaps, kVkDbeAlphanumeric},
    {kVkRightControl, kOptionSwapCtrlCaps, kVkDbeAlphanumeric},
#endif
    {kVkCapital, kOptionSwapCtrlCaps, kVkControl},
    {kVkDbeAlphanumeric, kOptionSwapCtrlCaps, kVkControl},
    {kVkEscape, kOptionSwapEscHankaku, kVkDbeSbcsChar},
    {kVkDbeSbcsChar, kOptionSwapEscHankaku, kVkEscape},
#ifndef _WIN32_WCE
    {kVkDbeDbcsChar, kOptionSwapEscHankaku, kVkEscape},
#endif
};

}  // namespace

bool handleKeyEvent(EngineState& engine, const IncomingKeyEvent& event) {
  if (event.own) return false;
  // The hook hands a 32-bit value; only 0-255 are keys the tables know.
  if (event.vk > 0xFF) return false;
  if ((engine.options & (kOptionKanaToggle | kOptionTwoTouch)) != 0 &&
      dispatchKeypadEvent(engine, event)) {
    return true;
  }
  return applyKeySwaps(engine, event);
}

bool applyKeySwaps(EngineState& engine, const IncomingKeyEvent& event) {
  if (event.own) return false;
  for (const SwapRow& row : kSwapTable) {
    if (row.incoming == event.vk) {
      if ((engine.options & row.option) == 0) return false;
      return replayKeyAs(engine, row.injected, event.message);
    }
  }
  return false;
}

bool replayKeyAs(EngineState& engine, uint8_t vk, uint32_t message) {
  switch (message) {
    case kMessageKeyDown:
    case kMessageSysKeyDown:
      sendKeyDown(engine, vk);
      return true;
    case kMessageKeyUp:
    case kMessageSysKeyUp:
      sendKeyUp(engine, vk);
      return true;
    default:
      return false;
  }
}
