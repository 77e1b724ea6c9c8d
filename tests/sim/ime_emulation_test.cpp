// The emulated keyboard and IME: roman letters compose kana, symbols take
// their Japanese forms, and the editing keys act as on the device.
#include "sim/device/ime_emulation.h"

#include <gtest/gtest.h>

#include <string>

namespace {

void tap(ImeEmulation& ime, uint8_t vk) {
  ime.sendKeyDown(vk);
  ime.sendKeyUp(vk);
}

void tapShifted(ImeEmulation& ime, uint8_t vk) {
  ime.sendKeyDown(kVkShift);
  tap(ime, vk);
  ime.sendKeyUp(kVkShift);
}

// Taps the keys named by upper-case letters and digits, the keys that type
// , . and -, and the back-space key for <.
void typeKeys(ImeEmulation& ime, const std::string& keys) {
  for (char key : keys) {
    switch (key) {
      case ',':
        tap(ime, 0xBC);
        break;
      case '.':
        tap(ime, 0xBE);
        break;
      case '-':
        tap(ime, 0xBD);
        break;
      case '<':
        tap(ime, kVkBack);
        break;
      default:
        tap(ime, static_cast<uint8_t>(key));
    }
  }
}

void altKanji(ImeEmulation& ime) {
  ime.sendKeyDown(kVkLeftMenu);
  tap(ime, kVkKanji);
  ime.sendKeyUp(kVkLeftMenu);
}

ImeEmulation imeOn() {
  ImeEmulation ime;
  ime.switchTo(true);
  return ime;
}

struct RomajiCase {
  const char* keys;
  const char* text;
};

// After a digit or a letter left as it is, . , and - stay ASCII, and so
// does a run of - (１−−); a prolonged sound mark that begins the composition
// shows as a minus before a digit (−１). < is the back-space key: letters
// left as they were spell on once it makes them the last again.
TEST(ImeEmulationTest, RomanLettersComposeKana) {
  const RomajiCase cases[] = {
      {"A", "あ"},        {"KA", "か"},      {"SI", "し"},
      {"SHI", "し"},      {"TI", "ち"},      {"TU", "つ"},
      {"TSU", "つ"},      {"DI", "ぢ"},      {"DU", "づ"},
      {"WO", "を"},       {"NN", "ん"},      {"FU", "ふ"},
      {"XA", "ぁ"},       {"XI", "ぃ"},      {"XU", "ぅ"},
      {"XE", "ぇ"},       {"XO", "ぉ"},      {"XTU", "っ"},
      {"XYA", "ゃ"},      {"XYU", "ゅ"},     {"XYO", "ょ"},
      {"XWA", "ゎ"},      {"KYA", "きゃ"},   {"KKA", "っか"},
      {"NKA", "んか"},    {"NNA", "んあ"},   {"NANI", "なに"},
      {"GA", "が"},       {"PA", "ぱ"},      {"KONNNITIHA", "こんにちは"},
      {"HWA", "ふぁ"},    {"WWA", "っわ"},   {"WWW", "ｗｗｗ"},
      {"NNN", "んｎ"},    {"XN", "ん"},      {"DKA", "ｄか"},
      {"Q", "ｑ"},        {"KX", "ｋｘ"},    {"N", "ｎ"},
      {"1,", "１，"},     {"K.", "ｋ．"},    {"1--", "１−−"},
      {"K--,", "ｋ−−、"}, {"1-.", "１−。"},  {"A-,", "あー、"},
      {"-1", "−１"},      {"-1--", "−１−−"}, {"--1", "ーー１"},
      {"A-1", "あー１"},  {"-1<", "ー"},     {"-K1", "ーｋ１"},
      {"KY1<A", "きゃ"},  {"K,<A", "か"},    {"TK<A", "た"},
      {"KK1<A", "っか"},  {"KY1<<A", "か"},  {"KA1<A", "かあ"},
  };
  for (const RomajiCase& c : cases) {
    ImeEmulation ime = imeOn();
    typeKeys(ime, c.keys);
    EXPECT_EQ(ime.text(), c.text) << c.keys;
    EXPECT_EQ(ime.committed, "") << c.keys;
  }
}

struct SymbolCase {
  uint8_t vk;
  bool shift;
  const char* imeOn;
  const char* imeOff;
  SimLayout layout = SimLayout::kUs;
};

// The IME reads the keys through the keyboard's layout: on a Japanese (JIS)
// keyboard @ is right of P, " is Shift+2, : right of ;.
TEST(ImeEmulationTest, SymbolsTakeJapaneseFormsWhileTheImeIsOn) {
  constexpr SimLayout jis = SimLayout::kJis;
  const SymbolCase cases[] = {
      {0xBC, false, "、", ","},         {0xBE, false, "。", "."},
      {0xBF, false, "・", "/"},         {0xBD, false, "ー", "-"},
      {0xDB, false, "「", "["},         {0xDD, false, "」", "]"},
      {0xDC, false, "￥", "\\"},        {0x20, false, "　", " "},
      {'1', true, "！", "!"},           {'2', true, "＠", "@"},
      {0xBF, true, "？", "?"},          {0xBA, true, "：", ":"},
      {0xBA, false, "；", ";"},         {0xC0, true, "〜", "~"},
      {0xBD, true, "＿", "_"},          {0xDE, false, "’", "'"},
      {0xDE, true, "”", "\""},          {'5', false, "５", "5"},
      {kKeypadVk[9], false, "＊", "*"}, {kKeypadVk[11], false, "＃", "#"},
      {'A', true, "Ａ", "A"},           {0xC0, false, "＠", "@", jis},
      {'2', true, "”", "\"", jis},      {0xBA, false, "：", ":", jis},
      {0xBA, true, "＊", "*", jis},     {0xDE, true, "〜", "~", jis},
      {0xDE, false, "＾", "^", jis},    {0xE2, true, "＿", "_", jis},
      {0xE2, false, "￥", "\\", jis},   {0xBD, true, "＝", "=", jis},
      {0xBC, false, "、", ",", jis},    {'0', true, "", "", jis},
      {'A', true, "Ａ", "A", jis},
  };
  for (const SymbolCase& c : cases) {
    ImeEmulation on = imeOn();
    ImeEmulation off;
    for (ImeEmulation* ime : {&on, &off}) {
      ime->setLayout(c.layout);
      if (c.shift) {
        tapShifted(*ime, c.vk);
      } else {
        tap(*ime, c.vk);
      }
    }
    EXPECT_EQ(on.text(), c.imeOn) << std::hex << int(c.vk);
    EXPECT_EQ(off.committed, c.imeOff) << std::hex << int(c.vk);
    EXPECT_EQ(off.composition(), "");
  }
}

TEST(ImeEmulationTest, SpaceOutsideACompositionIsTypedAtOnce) {
  ImeEmulation ime = imeOn();
  tap(ime, 0x20);
  EXPECT_EQ(ime.committed, "　");
  typeKeys(ime, "KA");
  tap(ime, 0x20);
  EXPECT_EQ(ime.committed, "　");
  EXPECT_EQ(ime.composition(), "か　");
}

TEST(ImeEmulationTest, SymbolEndsPendingLetters) {
  ImeEmulation ime = imeOn();
  typeKeys(ime, "N");
  tap(ime, 0xBE);
  EXPECT_EQ(ime.text(), "ん。");
  typeKeys(ime, "K");
  tap(ime, 0xBC);
  EXPECT_EQ(ime.text(), "ん。ｋ，");
  // After a digit or a letter left as it is, . , - stay ASCII symbols.
  typeKeys(ime, "1");
  tap(ime, 0xBE);
  tap(ime, 0xBE);
  tap(ime, 0xBD);
  EXPECT_EQ(ime.text(), "ん。ｋ，１．。ー");
  typeKeys(ime, "Z");
  tap(ime, 0xBE);
  EXPECT_EQ(ime.composition(), "ん。ｋ，１．。ー…");
}

TEST(ImeEmulationTest, BackspaceDeletesTheLastCompositionCharacterFirst) {
  ImeEmulation ime = imeOn();
  typeKeys(ime, "KANA");
  tap(ime, kVkBack);
  EXPECT_EQ(ime.composition(), "か");
  typeKeys(ime, "K");
  EXPECT_EQ(ime.composition(), "かｋ");
  tap(ime, kVkBack);
  EXPECT_EQ(ime.composition(), "か");
  tap(ime, kVkReturn);
  EXPECT_EQ(ime.committed, "か");
  // With no composition the application deletes committed text.
  tap(ime, kVkBack);
  EXPECT_EQ(ime.text(), "");
  tap(ime, kVkBack);
  EXPECT_EQ(ime.text(), "");
}

TEST(ImeEmulationTest, BackspaceWithTheImeOffDeletesWholeCharacters) {
  ImeEmulation ime = imeOn();
  typeKeys(ime, "KA");
  altKanji(ime);
  typeKeys(ime, "AB");
  tap(ime, kVkBack);
  tap(ime, kVkBack);
  EXPECT_EQ(ime.text(), "か");
  tap(ime, kVkBack);
  EXPECT_EQ(ime.text(), "");
}

TEST(ImeEmulationTest, EnterCommitsTheCompositionOrTypesANewLine) {
  ImeEmulation ime = imeOn();
  typeKeys(ime, "NIHONN");
  EXPECT_EQ(ime.compositionLength(), 3u);
  tap(ime, kVkReturn);
  EXPECT_EQ(ime.committed, "にほん");
  EXPECT_EQ(ime.compositionLength(), 0u);
  tap(ime, kVkReturn);
  EXPECT_EQ(ime.committed, "にほん\n");
  // Letters that never became kana are committed as they show.
  typeKeys(ime, "N");
  tap(ime, kVkReturn);
  EXPECT_EQ(ime.committed, "にほん\nｎ");
}

TEST(ImeEmulationTest, AltKanjiCommitsAndSwitchesTheImeBothWays) {
  ImeEmulation ime = imeOn();
  typeKeys(ime, "KA");
  altKanji(ime);
  EXPECT_FALSE(ime.imeOn());
  EXPECT_EQ(ime.committed, "か");
  typeKeys(ime, "KA");
  EXPECT_EQ(ime.text(), "かka");
  altKanji(ime);
  EXPECT_TRUE(ime.imeOn());
  EXPECT_EQ(ime.conversionStatus().value & 1u, 1u);
  typeKeys(ime, "KA");
  EXPECT_EQ(ime.text(), "かkaか");
  EXPECT_EQ(ime.composition(), "か");
  // The user's IME key on an IME that is already on leaves the composition.
  ime.switchTo(true);
  EXPECT_EQ(ime.composition(), "か");
}

TEST(ImeEmulationTest, KanjiWithoutAltAndKeysWithCtrlTypeNothing) {
  ImeEmulation ime = imeOn();
  tap(ime, kVkKanji);
  EXPECT_TRUE(ime.imeOn());
  ime.sendKeyDown(0x11);
  tap(ime, 'A');
  ime.sendKeyUp(0x11);
  EXPECT_EQ(ime.text(), "");
}

TEST(ImeEmulationTest, CapsLockTapTogglesTheCaseOfLetters) {
  ImeEmulation ime;
  tap(ime, kVkCapital);
  EXPECT_TRUE(ime.keyboard.capsLock);
  typeKeys(ime, "A");
  tapShifted(ime, 'B');
  tap(ime, kVkCapital);
  typeKeys(ime, "C");
  EXPECT_EQ(ime.text(), "Abc");
  // Digits ignore CapsLock.
  tap(ime, kVkCapital);
  typeKeys(ime, "1");
  EXPECT_EQ(ime.text(), "Abc1");
}

TEST(ImeEmulationTest, ControlThroughImeControlCommitsWhenClosing) {
  ImeEmulation ime = imeOn();
  typeKeys(ime, "SO");
  ime.setOpen(false);
  EXPECT_EQ(ime.committed, "そ");
  ime.setOpen(true);
  ime.setConversionMode(25, 0);
  typeKeys(ime, "RA");
  EXPECT_EQ(ime.text(), "そら");
  // Out of native mode, letters are typed as they are.
  ime.setConversionMode(0, 0);
  EXPECT_EQ(ime.committed, "そら");
  typeKeys(ime, "RA");
  EXPECT_EQ(ime.text(), "そらra");
}

}  // namespace
