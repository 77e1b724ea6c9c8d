#include "sim/device/us_keyboard.h"

#include "engine/engine_state.h"

namespace {

struct PunctuationKey {
  uint8_t vk;
  char plain;
  char shifted;
};

constexpr PunctuationKey kPunctuationKeys[] = {
    {0xBA, ';', ':'},
    {0xBB, '=', '+'},
    {0xBC, ',', '<'},
    {0xBD, '-', '_'},
    {0xBE, '.', '>'},
    {0xBF, '/', '?'},
    {0xC0, '`', '~'},
    {0xDB, '[', '{'},
    {0xDC, '\\', '|'},
    {0xDD, ']', '}'},
    {0xDE, '\'', '"'},
    // The 102nd key of a US keyboard.
    {0xE2, '\\', '|'},
};

constexpr char kShiftedDigits[] = ")!@#$%^&*(";

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

char usLayoutCharacter(uint8_t vk, bool shift) {
  if (vk >= 'A' && vk <= 'Z') return static_cast<char>(vk - 'A' + 'a');
  if (vk >= '0' && vk <= '9') return shift ? kShiftedDigits[vk - '0'] : static_cast<char>(vk);
  if (vk == 0x20) return ' ';
  if (vk >= 0x60 && vk <= 0x69) return static_cast<char>('0' + (vk - 0x60));  // number pad
  // The device keypad's * and # (VK_F8, VK_F9) type themselves.
  for (int column = 0; column < kKeypadColumns; ++column) {
    if (kKeypadVk[column] == vk) return kKeypadKeys[column];
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
      break;
  }
  for (const PunctuationKey& key : kPunctuationKeys) {
    if (key.vk == vk) return shift ? key.shifted : key.plain;
  }
  return 0;
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
