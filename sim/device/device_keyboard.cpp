#include "sim/device/device_keyboard.h"

#include "engine/engine_state.h"
#include "engine/us_layout.h"

namespace {

struct PunctuationKey {
  uint8_t vk;
  char plain;
  char shifted;
};

// A JIS keyboard's punctuation keys as Windows maps them. The digit row's
// shifted characters are its own too, and Shift+0 types nothing.
constexpr PunctuationKey kJisPunctuationKeys[] = {
    {0xBA, ':', '*'},  {0xBB, ';', '+'}, {0xBC, ',', '<'}, {0xBD, '-', '='},
    {0xBE, '.', '>'},  {0xBF, '/', '?'}, {0xC0, '@', '`'}, {0xDB, '[', '{'},
    {0xDC, '\\', '|'}, {0xDD, ']', '}'}, {0xDE, '^', '~'}, {0xE2, '\\', '_'},
};

constexpr char kJisShiftedDigits[] = "\0!\"#$%&'()";

char jisCharacter(uint8_t vk, bool shift) {
  if (vk >= '0' && vk <= '9') return shift ? kJisShiftedDigits[vk - '0'] : static_cast<char>(vk);
  for (const PunctuationKey& key : kJisPunctuationKeys) {
    if (key.vk == vk) return shift ? key.shifted : key.plain;
  }
  return usLayoutCharacter(vk, shift);  // letters and space
}

// The number pad and the device keypad's * and #, alike on both layouts.
char keypadCharacter(uint8_t vk) {
  if (vk >= 0x60 && vk <= 0x69) return static_cast<char>('0' + (vk - 0x60));
  for (int column = 0; column < kKeypadColumns; ++column) {
    if (kKeypadVk[column] == vk && (vk < '0' || vk > '9')) return kKeypadKeys[column];
  }
  switch (vk) {
    case 0x6A:
      return '*';
    case 0x6B:
      return '+';
    case 0x6D:
      return '-';
    case 0x6E:
      return '.';
    case 0x6F:
      return '/';
    default:
      return 0;
  }
}

bool isMainKey(uint8_t vk) {
  return keypadCharacter(vk) == 0;
}

std::string utf8(uint32_t codePoint) {
  std::string out;
  if (codePoint < 0x80) {
    out += static_cast<char>(codePoint);
  } else if (codePoint < 0x800) {
    out += static_cast<char>(0xC0 | (codePoint >> 6));
    out += static_cast<char>(0x80 | (codePoint & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (codePoint >> 12));
    out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (codePoint & 0x3F));
  }
  return out;
}

}  // namespace

char layoutCharacter(SimLayout layout, uint8_t vk, bool shift) {
  if (vk >= 'A' && vk <= 'Z') return static_cast<char>(vk - 'A' + 'a');
  if (const char c = keypadCharacter(vk)) return c;
  return layout == SimLayout::kJis ? jisCharacter(vk, shift) : usLayoutCharacter(vk, shift);
}

LayoutStroke layoutStrokeFor(SimLayout layout, char c) {
  if (c >= 'A' && c <= 'Z') return {static_cast<uint8_t>(c), true};
  for (int vk = 1; vk < 256; ++vk) {
    if (!isMainKey(static_cast<uint8_t>(vk))) continue;
    for (bool shift : {false, true}) {
      if (layoutCharacter(layout, static_cast<uint8_t>(vk), shift) == c) {
        return {static_cast<uint8_t>(vk), shift};
      }
    }
  }
  return {};
}

LayoutKey SimKeyboardLayout::keyForCharacter(char16_t character) {
  if (character == 0 || character > 0x7E) return {};
  const LayoutStroke stroke = layoutStrokeFor(layout, static_cast<char>(character));
  if (stroke.vk == 0) return {};
  return {true, stroke.vk, static_cast<uint8_t>(stroke.shift ? kLayoutShift : 0)};
}

std::string imeFullWidthForm(char c) {
  switch (c) {
    case ',':
      return "、";
    case '.':
      return "。";
    case '/':
      return "・";
    case '-':
      return "ー";
    case '[':
      return "「";
    case ']':
      return "」";
    case '\\':
      return "￥";
    case ' ':
      return "\u3000";
    case '\'':
      return "’";
    case '"':
      return "”";
    case '~':
      return "〜";
    default:
      break;
  }
  if (c > ' ' && c <= '~') return utf8(0xFF01 + (c - '!'));
  return std::string(1, c);
}
