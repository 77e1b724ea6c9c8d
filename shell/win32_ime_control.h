// The IME of the focused input context. On Windows CE the context of the
// null window is the focused one. On desktop Windows another process's
// context cannot be taken, so the focused window's default IME window is
// asked with WM_IME_CONTROL instead.
#pragma once

#include "engine/platform.h"

// Longest wait for a desktop IME window's answer, in ms. The queries run
// inside the keyboard hook, which the system removes when it blocks.
constexpr unsigned kImeQueryTimeoutMs = 50;

struct Win32ImeControl final : ImeControl {
  bool isOpen() override;
  uint32_t conversionMode() override;
  void setOpen(bool open) override;
  void setConversionMode(uint32_t conversion, uint32_t sentence) override;
  uint32_t compositionLength() override;
};
