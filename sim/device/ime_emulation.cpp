#include "sim/device/ime_emulation.h"

#include "engine/key_event.h"
#include "sim/device/device_keyboard.h"
#include "sim/device/keyboard_state.h"
#include "sim/device/romaji_composition.h"

namespace {

// Removes the last UTF-8 character of `text`.
void eraseLastCharacter(std::string& text) {
  if (text.empty()) return;
  size_t end = text.size() - 1;
  while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
  text.erase(end);
}

}  // namespace

void ImeEmulation::sendKeyDown(uint8_t vk) {
  keyboardKeyEvent(keyboard, vk, true);
  switch (vk) {
    case kVkCapital:
      return;
    case kVkKanji:
      // Alt+Kanji is the IME's on/off chord.
      if (altHeld(keyboard)) switchTo(!open);
      return;
    case kVkBack:
      backspace();
      return;
    case kVkReturn:
      enter();
      return;
    case kVkEscape:
      if (composesKana()) composing = {};
      return;
    default:
      typeCharacter(vk);
      return;
  }
}

void ImeEmulation::sendKeyUp(uint8_t vk) {
  keyboardKeyEvent(keyboard, vk, false);
}

void ImeEmulation::setOpen(bool value) {
  if (!value) commitComposition();
  open = value;
}

void ImeEmulation::setConversionMode(uint32_t value, uint32_t) {
  if ((value & kImeConversionNative) == 0) commitComposition();
  conversion = value;
}

uint32_t ImeEmulation::compositionLength() {
  return static_cast<uint32_t>(::compositionLength(composing));
}

void ImeEmulation::switchTo(bool on) {
  // The IME key commits when it turns the IME off or on, not when the IME
  // is already where the key puts it.
  if (on != open) commitComposition();
  open = on;
  if (on && (conversion & kImeConversionNative) == 0) conversion = kImeConversionHiraganaRoman;
}

std::string ImeEmulation::composition() const {
  return compositionText(composing);
}

std::string ImeEmulation::modeName() const {
  if (!open) return "オフ";
  return composesKana() ? "ひらがな" : "半角英数";
}

bool ImeEmulation::composesKana() const {
  return open && (conversion & kImeConversionNative) != 0;
}

void ImeEmulation::typeCharacter(uint8_t vk) {
  // Shortcuts with Ctrl or Alt type nothing.
  const char c = typedCharacter(keyboard, vk);
  if (c == 0) return;
  if (!composesKana()) {
    committed += c;
    return;
  }
  // A space outside a composition is typed at once.
  if (c == ' ' && compositionLength() == 0) {
    committed += imeFullWidthForm(c);
    return;
  }
  typeIntoComposition(composing, c);
}

void ImeEmulation::backspace() {
  if (composesKana() && compositionLength() != 0) {
    eraseFromComposition(composing);
  } else {
    eraseLastCharacter(committed);
  }
}

void ImeEmulation::enter() {
  if (composesKana() && compositionLength() != 0) {
    commitComposition();
  } else {
    committed += '\n';
  }
}

void ImeEmulation::commitComposition() {
  // Letters that never became kana are committed as they show, in full
  // width (a lone n too).
  committed += compositionText(composing);
  composing = {};
}
