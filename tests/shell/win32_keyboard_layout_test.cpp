// The keys that type a character in the layout where the keys go, as
// VkKeyScanExW gives them. The test desktop has a US keyboard; wine answers
// from the display's keyboard whatever layout is named, so other layouts are
// the engine's tests' (with a layout of their own).
#include "shell/win32_keyboard_layout.h"

#include <gtest/gtest.h>

namespace {

HKL usLayout() {
  return LoadKeyboardLayoutW(L"00000409", 0);
}

TEST(Win32KeyboardLayout, KeysAndShiftOfAUsKeyboard) {
  Win32KeyboardLayout layout;
  layout.layout = usLayout;
  const struct {
    char16_t character;
    bool found;
    uint8_t vk;
    uint8_t shiftState;
  } cases[] = {
      {u'a', true, 'A', 0},
      {u'A', true, 'A', kLayoutShift},
      {u'1', true, '1', 0},
      {u'@', true, '2', kLayoutShift},
      {u':', true, VK_OEM_1, kLayoutShift},
      {u'~', true, VK_OEM_3, kLayoutShift},
      {u'_', true, VK_OEM_MINUS, kLayoutShift},
      {u'\u00e9', false, 0, 0},  // é: no key of its own on a US keyboard
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.character));
    const LayoutKey key = layout.keyForCharacter(c.character);
    EXPECT_EQ(key.found, c.found);
    if (!c.found) continue;
    EXPECT_EQ(key.vk, c.vk);
    EXPECT_EQ(key.shiftState, c.shiftState);
  }
}

}  // namespace
