// The device side of the key stream as the simulator models it: a US-layout
// keyboard with Shift, Alt and CapsLock feeding a Japanese IME (hiragana,
// roman input) and an application that shows the committed text.
//
// Key events arrive through KeyOutput, exactly as the keys the engine
// injects and the keys it passes reach the device. The engine asks about the
// IME through ImeControl.
#pragma once

#include <cstdint>
#include <string>

#include "engine/key_event.h"
#include "engine/platform.h"
#include "sim/romaji_composition.h"

struct ImeEmulation final : KeyOutput, ImeControl {
  // KeyOutput: one key event reaching the focused application.
  void sendKeyDown(uint8_t vk) override;
  void sendKeyUp(uint8_t vk) override;

  // ImeControl.
  bool isOpen() override { return open; }
  uint32_t conversionMode() override { return conversion; }
  void setOpen(bool value) override;
  void setConversionMode(uint32_t value, uint32_t sentence) override;
  uint32_t compositionLength() override;

  // Switches the IME on (hiragana, roman input) or off, committing the
  // composition, as the user's IME key does.
  void switchTo(bool on);

  // What the user sees: the committed text followed by the composition.
  std::string text() const;
  std::string composition() const;
  // True while letters compose kana (open, native mode).
  bool composesKana() const;

  bool open = false;
  uint32_t conversion = kImeConversionHiraganaRoman;
  bool capsLock = false;
  // The application's text (UTF-8).
  std::string committed;
  RomajiComposition composing;
  bool held[256] = {};

 private:
  void typeCharacter(uint8_t vk);
  void backspace();
  void enter();
  void commitComposition();
  bool shiftHeld() const;
  bool altHeld() const;
  bool ctrlHeld() const;
};
