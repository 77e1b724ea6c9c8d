#include "fcitx5/key_translation.h"

#include <fcitx-utils/keysymgen.h>

#include "engine/virtual_keys.h"

namespace {

// A key of a US PC keyboard: its virtual key, X key code (evdev + 8) and the
// symbols it types without and with Shift.
struct KeyRow {
  uint8_t vk;
  uint8_t code;
  uint32_t symbol;
  uint32_t shifted;
};

constexpr KeyRow kKeyRows[] = {
    {kVkBack, 22, FcitxKey_BackSpace, FcitxKey_BackSpace},
    {0x09, 23, FcitxKey_Tab, FcitxKey_ISO_Left_Tab},
    {0x0C, 84, FcitxKey_KP_Begin, FcitxKey_KP_Begin},  // VK_CLEAR: keypad 5 without NumLock
    {kVkReturn, 36, FcitxKey_Return, FcitxKey_Return},
    {0x13, 127, FcitxKey_Pause, FcitxKey_Pause},
    {kVkCapital, 66, FcitxKey_Caps_Lock, FcitxKey_Caps_Lock},
    {kVkEscape, 9, FcitxKey_Escape, FcitxKey_Escape},
    {0x1C, 100, FcitxKey_Henkan_Mode, FcitxKey_Henkan_Mode},  // VK_CONVERT
    {0x1D, 102, FcitxKey_Muhenkan, FcitxKey_Muhenkan},        // VK_NONCONVERT
    {0x20, 65, FcitxKey_space, FcitxKey_space},
    {0x21, 112, FcitxKey_Prior, FcitxKey_Prior},
    {0x22, 117, FcitxKey_Next, FcitxKey_Next},
    {0x23, 115, FcitxKey_End, FcitxKey_End},
    {0x24, 110, FcitxKey_Home, FcitxKey_Home},
    {0x25, 113, FcitxKey_Left, FcitxKey_Left},
    {0x26, 111, FcitxKey_Up, FcitxKey_Up},
    {kVkRight, 114, FcitxKey_Right, FcitxKey_Right},
    {0x28, 116, FcitxKey_Down, FcitxKey_Down},
    {0x2C, 107, FcitxKey_Print, FcitxKey_Print},
    {0x2D, 118, FcitxKey_Insert, FcitxKey_Insert},
    {0x2E, 119, FcitxKey_Delete, FcitxKey_Delete},
    {'0', 19, FcitxKey_0, FcitxKey_parenright},
    {'1', 10, FcitxKey_1, FcitxKey_exclam},
    {'2', 11, FcitxKey_2, FcitxKey_at},
    {'3', 12, FcitxKey_3, FcitxKey_numbersign},
    {'4', 13, FcitxKey_4, FcitxKey_dollar},
    {'5', 14, FcitxKey_5, FcitxKey_percent},
    {'6', 15, FcitxKey_6, FcitxKey_asciicircum},
    {'7', 16, FcitxKey_7, FcitxKey_ampersand},
    {'8', 17, FcitxKey_8, FcitxKey_asterisk},
    {'9', 18, FcitxKey_9, FcitxKey_parenleft},
    {'A', 38, FcitxKey_a, FcitxKey_A},
    {'B', 56, FcitxKey_b, FcitxKey_B},
    {'C', 54, FcitxKey_c, FcitxKey_C},
    {'D', 40, FcitxKey_d, FcitxKey_D},
    {'E', 26, FcitxKey_e, FcitxKey_E},
    {'F', 41, FcitxKey_f, FcitxKey_F},
    {'G', 42, FcitxKey_g, FcitxKey_G},
    {'H', 43, FcitxKey_h, FcitxKey_H},
    {'I', 31, FcitxKey_i, FcitxKey_I},
    {'J', 44, FcitxKey_j, FcitxKey_J},
    {'K', 45, FcitxKey_k, FcitxKey_K},
    {'L', 46, FcitxKey_l, FcitxKey_L},
    {'M', 58, FcitxKey_m, FcitxKey_M},
    {'N', 57, FcitxKey_n, FcitxKey_N},
    {'O', 32, FcitxKey_o, FcitxKey_O},
    {'P', 33, FcitxKey_p, FcitxKey_P},
    {'Q', 24, FcitxKey_q, FcitxKey_Q},
    {'R', 27, FcitxKey_r, FcitxKey_R},
    {'S', 39, FcitxKey_s, FcitxKey_S},
    {'T', 28, FcitxKey_t, FcitxKey_T},
    {'U', 30, FcitxKey_u, FcitxKey_U},
    {'V', 55, FcitxKey_v, FcitxKey_V},
    {'W', 25, FcitxKey_w, FcitxKey_W},
    {'X', 53, FcitxKey_x, FcitxKey_X},
    {'Y', 29, FcitxKey_y, FcitxKey_Y},
    {'Z', 52, FcitxKey_z, FcitxKey_Z},
    {0x5B, 133, FcitxKey_Super_L, FcitxKey_Super_L},
    {0x5C, 134, FcitxKey_Super_R, FcitxKey_Super_R},
    {0x5D, 135, FcitxKey_Menu, FcitxKey_Menu},
    // The numeric keypad with NumLock on.
    {0x60, 90, FcitxKey_KP_0, FcitxKey_KP_0},
    {0x61, 87, FcitxKey_KP_1, FcitxKey_KP_1},
    {0x62, 88, FcitxKey_KP_2, FcitxKey_KP_2},
    {0x63, 89, FcitxKey_KP_3, FcitxKey_KP_3},
    {0x64, 83, FcitxKey_KP_4, FcitxKey_KP_4},
    {0x65, 84, FcitxKey_KP_5, FcitxKey_KP_5},
    {0x66, 85, FcitxKey_KP_6, FcitxKey_KP_6},
    {0x67, 79, FcitxKey_KP_7, FcitxKey_KP_7},
    {0x68, 80, FcitxKey_KP_8, FcitxKey_KP_8},
    {0x69, 81, FcitxKey_KP_9, FcitxKey_KP_9},
    {0x6A, 63, FcitxKey_KP_Multiply, FcitxKey_KP_Multiply},
    {0x6B, 86, FcitxKey_KP_Add, FcitxKey_KP_Add},
    {0x6C, 0, FcitxKey_KP_Separator, FcitxKey_KP_Separator},
    {0x6D, 82, FcitxKey_KP_Subtract, FcitxKey_KP_Subtract},
    {0x6E, 91, FcitxKey_KP_Decimal, FcitxKey_KP_Decimal},
    {0x6F, 106, FcitxKey_KP_Divide, FcitxKey_KP_Divide},
    {0x70, 67, FcitxKey_F1, FcitxKey_F1},
    {0x71, 68, FcitxKey_F2, FcitxKey_F2},
    {0x72, 69, FcitxKey_F3, FcitxKey_F3},
    {0x73, 70, FcitxKey_F4, FcitxKey_F4},
    {0x74, 71, FcitxKey_F5, FcitxKey_F5},
    {0x75, 72, FcitxKey_F6, FcitxKey_F6},
    {0x76, 73, FcitxKey_F7, FcitxKey_F7},
    {0x77, 74, FcitxKey_F8, FcitxKey_F8},
    {0x78, 75, FcitxKey_F9, FcitxKey_F9},
    {0x79, 76, FcitxKey_F10, FcitxKey_F10},
    {0x7A, 95, FcitxKey_F11, FcitxKey_F11},
    {0x7B, 96, FcitxKey_F12, FcitxKey_F12},
    {0x90, 77, FcitxKey_Num_Lock, FcitxKey_Num_Lock},
    {0x91, 78, FcitxKey_Scroll_Lock, FcitxKey_Scroll_Lock},
    {kVkLeftShift, 50, FcitxKey_Shift_L, FcitxKey_Shift_L},
    {kVkRightShift, 62, FcitxKey_Shift_R, FcitxKey_Shift_R},
    {kVkLeftControl, 37, FcitxKey_Control_L, FcitxKey_Control_L},
    {kVkRightControl, 105, FcitxKey_Control_R, FcitxKey_Control_R},
    {kVkLeftMenu, 64, FcitxKey_Alt_L, FcitxKey_Alt_L},
    {kVkRightMenu, 108, FcitxKey_Alt_R, FcitxKey_Alt_R},
    {0xBA, 47, FcitxKey_semicolon, FcitxKey_colon},
    {0xBB, 21, FcitxKey_equal, FcitxKey_plus},
    {0xBC, 59, FcitxKey_comma, FcitxKey_less},
    {0xBD, 20, FcitxKey_minus, FcitxKey_underscore},
    {0xBE, 60, FcitxKey_period, FcitxKey_greater},
    {0xBF, 61, FcitxKey_slash, FcitxKey_question},
    {0xC0, 49, FcitxKey_grave, FcitxKey_asciitilde},
    {0xDB, 34, FcitxKey_bracketleft, FcitxKey_braceleft},
    {0xDC, 51, FcitxKey_backslash, FcitxKey_bar},
    {0xDD, 35, FcitxKey_bracketright, FcitxKey_braceright},
    {0xDE, 48, FcitxKey_apostrophe, FcitxKey_quotedbl},
    // The 102nd key, which Windows' US layout gives the backslash.
    {0xE2, 94, FcitxKey_backslash, FcitxKey_bar},
    {kVkDbeAlphanumeric, 0, FcitxKey_Eisu_toggle, FcitxKey_Eisu_toggle},
    {0xF2, 101, FcitxKey_Hiragana_Katakana, FcitxKey_Hiragana_Katakana},
    {kVkDbeSbcsChar, 0, FcitxKey_Zenkaku_Hankaku, FcitxKey_Zenkaku_Hankaku},
    {kVkDbeDbcsChar, 0, FcitxKey_Zenkaku_Hankaku, FcitxKey_Zenkaku_Hankaku},
    // Keys the engine injects under symbols that arrive as the keys above
    // (the left Shift, Ctrl and Alt; half-width/full-width): Alt+Kanji
    // switches a Windows IME, and fcitx5 switches with half-width/full-width.
    {kVkShift, 50, FcitxKey_Shift_L, FcitxKey_Shift_L},
    {kVkControl, 37, FcitxKey_Control_L, FcitxKey_Control_L},
    {kVkMenu, 64, FcitxKey_Alt_L, FcitxKey_Alt_L},
    {kVkKanji, 0, FcitxKey_Zenkaku_Hankaku, FcitxKey_Zenkaku_Hankaku},
};

// Symbols that arrive for keys the table above lists under another symbol:
// the keypad with NumLock off, and names some layouts use.
struct SymbolAlias {
  uint32_t symbol;
  uint8_t vk;
};

constexpr SymbolAlias kSymbolAliases[] = {
    {FcitxKey_KP_Insert, 0x2D},      {FcitxKey_KP_End, 0x23},        {FcitxKey_KP_Down, 0x28},
    {FcitxKey_KP_Next, 0x22},        {FcitxKey_KP_Left, 0x25},       {FcitxKey_KP_Right, kVkRight},
    {FcitxKey_KP_Home, 0x24},        {FcitxKey_KP_Up, 0x26},         {FcitxKey_KP_Prior, 0x21},
    {FcitxKey_KP_Delete, 0x2E},      {FcitxKey_KP_Enter, kVkReturn}, {FcitxKey_Meta_L, kVkLeftMenu},
    {FcitxKey_Meta_R, kVkRightMenu}, {FcitxKey_Kanji, kVkKanji},     {FcitxKey_Henkan, 0x1C},
    {FcitxKey_Hiragana, 0xF2},       {FcitxKey_Katakana, 0xF1},
};

const KeyRow* rowOfVk(uint8_t vk) {
  for (const KeyRow& row : kKeyRows) {
    if (row.vk == vk) return &row;
  }
  return nullptr;
}

bool isLetter(uint8_t vk) {
  return vk >= 'A' && vk <= 'Z';
}

}  // namespace

uint8_t virtualKeyOfSymbol(uint32_t keySymbol) {
  for (const KeyRow& row : kKeyRows) {
    if (row.symbol == keySymbol || row.shifted == keySymbol) return row.vk;
  }
  for (const SymbolAlias& alias : kSymbolAliases) {
    if (alias.symbol == keySymbol) return alias.vk;
  }
  return kVkUnknownKey;
}

bool synthesizeKey(SyntheticKeyboard& keyboard, uint8_t vk, bool down, uint32_t userLockStates,
                   SyntheticKey& key) {
  const KeyRow* row = rowOfVk(vk);
  if (row == nullptr) return false;
  const bool capsLock = ((userLockStates & kStateCapsLock) != 0) != keyboard.capsLockFlipped;
  uint32_t states = userLockStates & kStateNumLock;
  if (capsLock) states |= kStateCapsLock;
  if (keyboard.shift) states |= kStateShift;
  if (keyboard.ctrl) states |= kStateCtrl;
  if (keyboard.alt) states |= kStateAlt;
  // CapsLock changes the case of letters only; Shift picks the other symbol
  // of every key.
  const bool upper = isLetter(vk) ? keyboard.shift != capsLock : keyboard.shift;
  key.symbol = upper ? row->shifted : row->symbol;
  key.states = states;
  key.code = row->code;
  switch (vk) {
    case kVkShift:
    case kVkLeftShift:
    case kVkRightShift:
      keyboard.shift = down;
      break;
    case kVkControl:
    case kVkLeftControl:
    case kVkRightControl:
      keyboard.ctrl = down;
      break;
    case kVkMenu:
    case kVkLeftMenu:
    case kVkRightMenu:
      keyboard.alt = down;
      break;
    case kVkCapital:
      if (down) keyboard.capsLockFlipped = !keyboard.capsLockFlipped;
      break;
    default:
      break;
  }
  return true;
}
