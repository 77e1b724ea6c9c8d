#include "engine/key_event.h"

#include "engine/keypad_dispatcher.h"

namespace {

struct SwapRow {
  uint8_t incoming;
  uint32_t option;
  uint8_t injected;
};

// Ctrl turns into the alphanumeric key, while both CapsLock and the
// alphanumeric key turn into Ctrl.
constexpr SwapRow kSwapTable[] = {
    {kVkControl, kOptionSwapCtrlCaps, kVkDbeAlphanumeric},
    {kVkCapital, kOptionSwapCtrlCaps, kVkControl},
    {kVkDbeAlphanumeric, kOptionSwapCtrlCaps, kVkControl},
    {kVkEscape, kOptionSwapEscHankaku, kVkDbeSbcsChar},
    {kVkDbeSbcsChar, kOptionSwapEscHankaku, kVkEscape},
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
