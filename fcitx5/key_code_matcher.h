// Gives a key's release the virtual key its press had. A key's symbol can
// change while it is down (the numeric keypad's 2 goes down as KP_2 and may
// come up as KP_Down once NumLock has changed), so releases are matched by
// key code, the key itself.
#pragma once

#include <cstdint>

class KeyCodeMatcher {
 public:
  // The virtual key of a press whose symbol means `symbolVk`; remembered for
  // the key's release.
  uint8_t press(int code, uint8_t symbolVk);
  // The virtual key of a release: that of the key's press when one was seen,
  // else what its symbol means.
  uint8_t release(int code, uint8_t symbolVk);
  // Forgets every press (the keys' releases may go elsewhere).
  void clear();

 private:
  // Key codes are 8-255 on X and under Wayland; 0 means none. Slot 0 means
  // no press seen, so a virtual key is stored as vk + 1.
  static constexpr int kCodes = 256;
  uint16_t pressedVk_[kCodes] = {};
};
