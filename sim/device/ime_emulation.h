// The simulator's own model of the device side of the key stream: a
// keyboard (US or Japanese layout) with Shift, Alt and CapsLock, a Japanese IME (hiragana,
// roman input) that composes as mozc does, and the application's text.
#pragma once

#include <cstdint>
#include <string>

#include "engine/key_event.h"
#include "sim/device/device_ime.h"
#include "sim/device/keyboard_state.h"
#include "sim/device/romaji_composition.h"

struct ImeEmulation final : DeviceIme {
  // KeyOutput: one key event reaching the focused application.
  void sendKeyDown(uint8_t vk) override;
  void sendKeyUp(uint8_t vk) override;

  // ImeControl.
  ImeAnswer openStatus() override { return imeAnswered(open ? 1 : 0); }
  ImeAnswer conversionStatus() override { return imeAnswered(conversion); }
  void setOpen(bool value) override;
  void setConversionMode(uint32_t value, uint32_t sentence) override;
  uint32_t compositionLength() override;

  // DeviceIme.
  void switchTo(bool on) override;
  std::string committedText() const override { return committed; }
  std::string composition() const override;
  bool imeOn() const override { return open; }
  void setLayout(SimLayout layout) override { keyboard.layout = layout; }
  std::string modeName() const override;

  // True while letters compose kana (open, native mode).
  bool composesKana() const;

  bool open = false;
  uint32_t conversion = kImeConversionHiraganaRoman;
  KeyboardState keyboard;
  // The application's text (UTF-8).
  std::string committed;
  RomajiComposition composing;

 private:
  void typeCharacter(uint8_t vk);
  void backspace();
  void enter();
  void commitComposition();
};
