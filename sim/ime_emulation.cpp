#include "sim/ime_emulation.h"

#include "engine/key_event.h"
#include "sim/romaji_table.h"
#include "sim/us_keyboard.h"

namespace {

// Keys the engine does not name itself.
enum : uint8_t {
  kVkReturn = 0x0D,
  kVkMenu = 0x12,
  kVkLeftShift = 0xA0,
  kVkRightShift = 0xA1,
  kVkLeftControl = 0xA2,
  kVkRightControl = 0xA3,
  kVkRightMenu = 0xA5,
};

// Removes the last UTF-8 character of `text`.
void eraseLastCharacter(std::string& text) {
  if (text.empty()) return;
  size_t end = text.size() - 1;
  while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
  text.erase(end);
}

}  // namespace

void ImeEmulation::sendKeyDown(uint8_t vk) {
  held[vk] = true;
  switch (vk) {
    case kVkCapital:
      capsLock = !capsLock;
      return;
    case kVkKanji:
      // Alt+Kanji is the IME's on/off chord.
      if (altHeld()) switchTo(!open);
      return;
    case kVkBack:
      backspace();
      return;
    case kVkReturn:
      enter();
      return;
    case kVkEscape:
      if (composesKana()) {
        converted.clear();
        pendingRoman.clear();
      }
      return;
    default:
      typeCharacter(vk);
      return;
  }
}

void ImeEmulation::sendKeyUp(uint8_t vk) {
  held[vk] = false;
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
  return static_cast<uint32_t>(converted.size() + pendingRoman.size());
}

void ImeEmulation::switchTo(bool on) {
  commitComposition();
  open = on;
  if (on && (conversion & kImeConversionNative) == 0) conversion = kImeConversionHiraganaRoman;
}

std::string ImeEmulation::composition() const {
  std::string text;
  for (const std::string& c : converted) text += c;
  return text + pendingRoman;
}

std::string ImeEmulation::text() const {
  return committed + composition();
}

bool ImeEmulation::composesKana() const {
  return open && (conversion & kImeConversionNative) != 0;
}

bool ImeEmulation::shiftHeld() const {
  return held[kVkShift] || held[kVkLeftShift] || held[kVkRightShift];
}

bool ImeEmulation::altHeld() const {
  return held[kVkMenu] || held[kVkLeftMenu] || held[kVkRightMenu];
}

bool ImeEmulation::ctrlHeld() const {
  return held[kVkControl] || held[kVkLeftControl] || held[kVkRightControl];
}

void ImeEmulation::typeCharacter(uint8_t vk) {
  // Shortcuts with Ctrl or Alt type nothing.
  if (ctrlHeld() || altHeld()) return;
  const bool shift = shiftHeld();
  char c = usLayoutCharacter(vk, shift);
  if (c == 0) return;
  const bool letter = c >= 'a' && c <= 'z';
  const bool upper = letter && (shift != capsLock);
  if (upper) c = static_cast<char>(c - 'a' + 'A');
  if (!composesKana()) {
    committed += c;
    return;
  }
  if (letter && !upper) {
    pendingRoman += c;
    composeRomaji(pendingRoman, converted);
    return;
  }
  // Capitals and every other character end the roman letters and go into
  // the composition in their full-width form; a space outside a composition
  // is typed at once.
  flushRomaji(pendingRoman, converted);
  if (c == ' ' && converted.empty()) {
    committed += imeFullWidthForm(c);
    return;
  }
  converted.push_back(imeFullWidthForm(c));
}

void ImeEmulation::backspace() {
  if (composesKana() && !pendingRoman.empty()) {
    pendingRoman.pop_back();
  } else if (composesKana() && !converted.empty()) {
    converted.pop_back();
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
  flushRomaji(pendingRoman, converted);
  for (const std::string& c : converted) committed += c;
  converted.clear();
}
