// What the engine is told about the user's keys, and what the engine's keys
// become on their way to the input context.
#include <fcitx-utils/keysymgen.h>
#include <gtest/gtest.h>

#include <vector>

#include "fcitx5/key_code_matcher.h"
#include "fcitx5/key_translation.h"

namespace {

struct SymbolCase {
  uint32_t symbol;
  uint8_t vk;
};

TEST(KeyTranslationTest, SymbolsNameTheirKeysVirtualKey) {
  const SymbolCase cases[] = {
      {FcitxKey_KP_1, 0x61},
      {FcitxKey_KP_0, 0x60},
      {FcitxKey_KP_9, 0x69},
      {FcitxKey_KP_Multiply, 0x6A},
      {FcitxKey_KP_Decimal, 0x6E},
      {FcitxKey_KP_End, 0x23},
      {FcitxKey_KP_Down, 0x28},
      {FcitxKey_KP_Right, 0x27},
      {FcitxKey_KP_Delete, 0x2E},
      {FcitxKey_2, 0x32},
      {FcitxKey_at, 0x32},
      {FcitxKey_F8, 0x77},
      {FcitxKey_F9, 0x78},
      {FcitxKey_a, 0x41},
      {FcitxKey_Z, 0x5A},
      {FcitxKey_BackSpace, 0x08},
      {FcitxKey_Right, 0x27},
      {FcitxKey_Shift_L, 0xA0},
      {FcitxKey_Shift_R, 0xA1},
      {FcitxKey_Control_L, 0xA2},
      {FcitxKey_Caps_Lock, 0x14},
      {FcitxKey_Zenkaku_Hankaku, 0xF3},
      {FcitxKey_Escape, 0x1B},
      {FcitxKey_ISO_Left_Tab, 0x09},
      {FcitxKey_AudioMute, kVkUnknownKey},
  };
  for (const SymbolCase& c : cases) {
    EXPECT_EQ(virtualKeyOfSymbol(c.symbol), c.vk) << std::hex << c.symbol;
  }
}

struct MatchStep {
  bool press;
  int code;
  uint32_t symbol;
  uint8_t vk;  // what the engine is told
};

TEST(KeyCodeMatcherTest, ReleasesKeepTheVirtualKeyOfTheirPress) {
  const std::vector<std::vector<MatchStep>> cases = {
      // NumLock went off while keypad 2 was down.
      {{true, 88, FcitxKey_KP_2, 0x62}, {false, 88, FcitxKey_KP_Down, 0x62}},
      // ... and on again.
      {{true, 88, FcitxKey_KP_Down, 0x28}, {false, 88, FcitxKey_KP_2, 0x28}},
      // Shift released before the digit.
      {{true, 11, FcitxKey_at, 0x32}, {false, 11, FcitxKey_2, 0x32}},
      // Two keys down at once come up each as itself.
      {{true, 88, FcitxKey_KP_2, 0x62},
       {true, 63, FcitxKey_KP_Multiply, 0x6A},
       {false, 88, FcitxKey_KP_Down, 0x62},
       {false, 63, FcitxKey_KP_Multiply, 0x6A}},
      // A release whose press went elsewhere, and a key without a code.
      {{false, 87, FcitxKey_KP_End, 0x23}},
      {{true, 0, FcitxKey_KP_2, 0x62}, {false, 0, FcitxKey_KP_Down, 0x28}},
      // A code is matched once: the next release goes by its symbol.
      {{true, 88, FcitxKey_KP_2, 0x62},
       {false, 88, FcitxKey_KP_2, 0x62},
       {false, 88, FcitxKey_KP_Down, 0x28}},
      // Codes beyond X's range never index the table.
      {{true, 300, FcitxKey_KP_2, 0x62}, {false, 300, FcitxKey_KP_Down, 0x28}},
      {{true, -1, FcitxKey_KP_2, 0x62}, {false, -1, FcitxKey_KP_Down, 0x28}},
  };
  for (size_t i = 0; i < cases.size(); ++i) {
    KeyCodeMatcher matcher;
    for (const MatchStep& step : cases[i]) {
      const uint8_t symbolVk = virtualKeyOfSymbol(step.symbol);
      const uint8_t vk =
          step.press ? matcher.press(step.code, symbolVk) : matcher.release(step.code, symbolVk);
      EXPECT_EQ(vk, step.vk) << "case " << i << " code " << step.code;
    }
  }
}

struct SynthesisStep {
  uint8_t vk;
  bool down;
  uint32_t userLocks;
  uint32_t symbol;
  uint32_t states;
  int code;
};

TEST(KeyTranslationTest, InjectedKeysTypeAsOnAUsKeyboard) {
  const std::vector<std::vector<SynthesisStep>> cases = {
      {{'K', true, 0, FcitxKey_k, 0, 45}, {'K', false, 0, FcitxKey_k, 0, 45}},
      // Shift held by the engine: the shifted symbol, with the Shift state
      // from the key after Shift on.
      {{0x10, true, 0, FcitxKey_Shift_L, 0, 50},
       {'1', true, 0, FcitxKey_exclam, kStateShift, 10},
       {0xDE, true, 0, FcitxKey_quotedbl, kStateShift, 48},
       {0x10, false, 0, FcitxKey_Shift_L, kStateShift, 50},
       {'1', true, 0, FcitxKey_1, 0, 10}},
      // The engine's CapsLock tap turns letters to capitals, digits not.
      {{0x14, true, 0, FcitxKey_Caps_Lock, 0, 66},
       {0x14, false, 0, FcitxKey_Caps_Lock, kStateCapsLock, 66},
       {'A', true, 0, FcitxKey_A, kStateCapsLock, 38},
       {'2', true, 0, FcitxKey_2, kStateCapsLock, 11}},
      // ... and back when the user's CapsLock is on already.
      {{0x14, true, kStateCapsLock, FcitxKey_Caps_Lock, kStateCapsLock, 66},
       {'A', true, kStateCapsLock, FcitxKey_a, 0, 38}},
      // The user's NumLock is carried; Alt+Kanji is fcitx5's IME key.
      {{0xA4, true, kStateNumLock, FcitxKey_Alt_L, kStateNumLock, 64},
       {0x19, true, kStateNumLock, FcitxKey_Zenkaku_Hankaku, kStateNumLock | kStateAlt, 0},
       {0xA4, false, 0, FcitxKey_Alt_L, kStateAlt, 64},
       {0x08, true, 0, FcitxKey_BackSpace, 0, 22}},
  };
  for (size_t i = 0; i < cases.size(); ++i) {
    SyntheticKeyboard keyboard;
    for (const SynthesisStep& step : cases[i]) {
      SyntheticKey key;
      ASSERT_TRUE(synthesizeKey(keyboard, step.vk, step.down, step.userLocks, key));
      EXPECT_EQ(key.symbol, step.symbol) << "case " << i << " vk " << std::hex << int(step.vk);
      EXPECT_EQ(key.states, step.states) << "case " << i << " vk " << std::hex << int(step.vk);
      EXPECT_EQ(key.code, step.code) << "case " << i << " vk " << std::hex << int(step.vk);
    }
  }
}

TEST(KeyTranslationTest, VirtualKeysWithoutAKeyAreNotSent) {
  SyntheticKeyboard keyboard;
  SyntheticKey key;
  for (const uint8_t vk : {0x00, 0x07, 0xE8, 0xFF}) {
    EXPECT_FALSE(synthesizeKey(keyboard, vk, true, 0, key)) << int(vk);
  }
}

}  // namespace
