// The live mode: terminal keys become device keys that reach the engine, and
// the screen names the input state in the program's and the manual's words.
#include <gtest/gtest.h>

#include "sim/views/live_input.h"
#include "sim/views/live_screen.h"
#include "tests/sim/sim_fixture.h"

namespace {

struct TerminalKey {
  char c;
  uint8_t vk;
  bool shift;
};

TEST(LiveTerminalTest, TerminalKeysBecomeTheKeysOfTheDevice) {
  const TerminalKey jisKeys[] = {
      {'@', 0xC0, false}, {'"', 0x32, true},
      {':', 0xBA, false}, {'*', kKeypadVk[9], false},  // the keypad's, as on a US keyboard
      {'~', 0xDE, true},  {'a', 0x41, false},
  };
  for (const TerminalKey& key : jisKeys) {
    const LiveKey live = liveKeyFor(key.c, SimLayout::kJis);
    EXPECT_EQ(live.vk, key.vk) << key.c;
    EXPECT_EQ(live.shift, key.shift) << key.c;
  }
  const TerminalKey keys[] = {
      {'5', 0x35, false},          {'0', 0x30, false},  {'*', kKeypadVk[9], false},
      {'#', kKeypadVk[11], false}, {0x7F, 0x08, false}, {'\r', 0x0D, false},
      {'a', 0x41, false},          {'A', 0x41, true},   {' ', 0x20, false},
      {'!', 0x31, true},           {',', 0xBC, false},  {'?', 0xBF, true},
      {'+', 0xBB, true},           {'\xC3', 0, false},
  };
  for (const TerminalKey& key : keys) {
    const LiveKey live = liveKeyFor(key.c);
    EXPECT_EQ(live.vk, key.vk) << key.c;
    EXPECT_EQ(live.shift, key.shift) << key.c;
  }
}

struct Decoded {
  const char* bytes;
  std::vector<uint8_t> keys;  // 0 for the IME switch, 1 for quit
};

TEST(LiveTerminalTest, EscapeSequencesAreKeysAndALoneEscSwallowsNothing) {
  const Decoded cases[] = {
      {"\x1b", {0x1B}},
      {"\x1bx", {0x1B, 0x58}},
      {"\x1b[C", {0x27}},
      {"\x1b[3~", {0x2E}},
      {"\x1bOH", {0x24}},
      {"\x1b[5~\x1b[D", {0x21, 0x25}},
      {"a\x1b[Db", {0x41, 0x25, 0x42}},
      {"\x1b[99z", {}},
      {"\t", {0}},
      {"\x04", {1}},
      {"\x03", {1}},
      {"\x1b[", {}},
  };
  for (const Decoded& c : cases) {
    std::vector<uint8_t> keys;
    for (const LiveInput& input : decodeTerminalInput(c.bytes)) {
      keys.push_back(input.kind == LiveInputKind::kKey         ? input.key.vk
                     : input.kind == LiveInputKind::kSwitchIme ? 0
                                                               : 1);
    }
    EXPECT_EQ(keys, c.keys) << c.bytes + 1;
  }
}

void typeOnTerminal(SimDevice& device, const std::string& bytes) {
  for (const LiveInput& input : decodeTerminalInput(bytes)) applyLiveInput(device, input);
}

TEST(LiveTerminalTest, ScreenFollowsToggleCandidatesPostConversionAndFirstStroke) {
  SimDevice device;
  startDevice(device, kKanaToggleMode, true);
  EXPECT_EQ(describeInputState(device),
            "入力方式: かな入力・トグル式  キーマップ4  IME ON (ひらがな)\n"
            "オプション: 自動CapsLock  [クリア]キーで2タッチの一打目を取り消す\n"
            "トグル中: -\n"
            "後変換 (*): -\n"
            "一打目: -\n");
  play(device, "666");
  EXPECT_EQ(describeInputState(device),
            "入力方式: かな入力・トグル式  キーマップ4  IME ON (ひらがな)\n"
            "オプション: 自動CapsLock  [クリア]キーで2タッチの一打目を取り消す\n"
            "トグル中: キー6  は ひ [ふ] へ ほ\n"
            "後変換 (*): [ふ] ぶ ぷ\n"
            "一打目: -\n");
  play(device, "*");
  EXPECT_NE(describeInputState(device).find("トグル中: -\n後変換 (*): ふ [ぶ] ぷ\n"),
            std::string::npos);
  // A letter typed on the terminal is an unmapped key: it ends the toggle
  // and reaches the IME; the next 2 is a new character.
  typeOnTerminal(device, "22a");
  EXPECT_NE(describeInputState(device).find("トグル中: -\n"), std::string::npos);
  typeOnTerminal(device, "2\t");
  EXPECT_EQ(device.text(), "ぶきあか");
  EXPECT_NE(liveScreen(device, "k.txt").find("テキスト: ぶきあか\n変換中:   \n"),
            std::string::npos);
  EXPECT_NE(describeInputState(device).find("キーマップ4  IME OFF (オフ)\n"), std::string::npos);

  SimDevice pager;
  startDevice(pager, kTwoTouchMode, true);
  play(pager, "0");
  EXPECT_NE(describeInputState(pager).find(
                "入力方式: 2タッチ(ポケベル)入力  キーマップ0  IME ON (ひらがな)\n"),
            std::string::npos);
  EXPECT_NE(describeInputState(pager).find("一打目: キー0  二打目で 1:わ 2:を 3:ん 4:゛ 5:゜ "
                                           "6:６ 7:７ 8:８ 9:９ *:- 0:０ #:-\n"),
            std::string::npos);

  SimDevice nico;
  startDevice(nico, kNicoTouchMode | kOptionImeControl | kOptionAutoAdvance, true);
  play(nico, "2");
  EXPECT_NE(describeInputState(nico).find("2タッチ(ポケベル)入力 ニコタッチ風  キーマップ2"),
            std::string::npos);
  EXPECT_NE(describeInputState(nico).find("オプション: 自動送り 1000msec  自動CapsLock  "
                                          "IME制御(Atok/Wnn用)"),
            std::string::npos);
  // With IME control the letters and digits are typed with the IME off.
  EXPECT_NE(describeInputState(nico).find("二打目で 1:か 2:き 3:く 4:け 5:こ 6:  7:a 8:b 9:c "
                                          "*:- 0:2 #:-\n"),
            std::string::npos);
}

}  // namespace
