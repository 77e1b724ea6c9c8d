#include "shell/win32_keyboard_layout.h"

#ifndef _WIN32_WCE

namespace {

// The modifier bits in the high byte of VkKeyScanExW's answer.
constexpr unsigned kScanShift = 1;
constexpr unsigned kScanCtrl = 2;
constexpr unsigned kScanAlt = 4;
constexpr unsigned kScanKnownModifiers = kScanShift | kScanCtrl | kScanAlt;

// ToUnicodeEx's flag that leaves the layout's dead-key state alone
// (Windows 10 1607 and later; older systems ignore it).
constexpr UINT kKeepKeyboardState = 4;

bool isDeadKey(uint8_t vk, unsigned modifiers, HKL layout) {
  BYTE keyState[256] = {};
  if (modifiers & kScanShift) keyState[VK_SHIFT] = 0x80;
  if (modifiers & kScanCtrl) keyState[VK_CONTROL] = 0x80;
  if (modifiers & kScanAlt) keyState[VK_MENU] = 0x80;
  wchar_t typed[8] = {};
  const UINT scanCode = MapVirtualKeyExW(vk, MAPVK_VK_TO_VSC, layout);
  return ToUnicodeEx(vk, scanCode, keyState, typed, 8, kKeepKeyboardState, layout) < 0;
}

}  // namespace

HKL foregroundKeyboardLayout() {
  HWND foreground = GetForegroundWindow();
  const DWORD thread =
      foreground != nullptr ? GetWindowThreadProcessId(foreground, nullptr) : GetCurrentThreadId();
  return GetKeyboardLayout(thread);
}

LayoutKey Win32KeyboardLayout::keyForCharacter(char16_t character) {
  const HKL where = layout();
  const SHORT answer = VkKeyScanExW(static_cast<wchar_t>(character), where);
  if (answer == -1) return {};
  const auto vk = static_cast<uint8_t>(answer & 0xFF);
  const unsigned modifiers = (static_cast<unsigned>(answer) >> 8) & 0xFF;
  if ((modifiers & ~kScanKnownModifiers) != 0) return {};
  if (isDeadKey(vk, modifiers, where)) return {};
  LayoutKey key;
  key.found = true;
  key.vk = vk;
  key.shiftState = static_cast<uint8_t>(modifiers);
  return key;
}

#endif
