// The keyboard layout of the window the keys go to, on desktop Windows: the
// layout of the foreground window's thread. The engine asks it which key
// types a direct character there; the key output asks it for scan codes.
#pragma once

#include <windows.h>

#include "engine/platform.h"

#ifndef _WIN32_WCE

// The foreground window's layout, or this thread's when there is no
// foreground window.
HKL foregroundKeyboardLayout();

// The key for a character where the keys go: VkKeyScanExW with the
// foreground layout. A character the layout has no key for, a key that
// needs modifiers beyond Shift, Ctrl and Alt (the Japanese layouts' kana and
// width keys), and a dead key (it would wait for the next character) are no
// key.
struct Win32KeyboardLayout final : KeyboardLayout {
  LayoutKey keyForCharacter(char16_t character) override;
  // Where the answers come from; tests pin a layout.
  HKL (*layout)() = foregroundKeyboardLayout;
};

#endif
