// Virtual keys the engine injects or recognises, under their Win32 names
// (VK_BACK is kVkBack). Desktop hooks report the left and right Shift, Ctrl
// and Alt keys rather than VK_SHIFT, VK_CONTROL and VK_MENU, and the
// half-width/full-width key as 0xF3 and 0xF4 in turn.
#pragma once

#include <cstdint>

enum VirtualKey : uint8_t {
  kVkBack = 0x08,
  kVkReturn = 0x0D,
  kVkShift = 0x10,
  kVkControl = 0x11,
  kVkMenu = 0x12,
  kVkCapital = 0x14,
  kVkKanji = 0x19,
  kVkEscape = 0x1B,
  kVkRight = 0x27,
  kVkLeftWin = 0x5B,
  kVkRightWin = 0x5C,
  kVkLeftShift = 0xA0,
  kVkRightShift = 0xA1,
  kVkLeftControl = 0xA2,
  kVkRightControl = 0xA3,
  kVkLeftMenu = 0xA4,
  kVkRightMenu = 0xA5,
  kVkDbeAlphanumeric = 0xF0,  // the alphanumeric/CapsLock key of a Japanese keyboard
  kVkDbeSbcsChar = 0xF3,      // half-width/full-width
  kVkDbeDbcsChar = 0xF4,      // half-width/full-width, its other code on desktop
};
