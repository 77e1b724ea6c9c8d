// 2-touch input on the default keymap: every cell of slot 0 (pager) and
// slot 2 (nico-touch style), the * and # rows, post-conversion and the
// dakuten/handakuten rewrite.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/sim/sim_fixture.h"

namespace {

// The text of one cell: with the IME on (kana composed, other characters in
// their full-width forms) and with it off (plain ASCII). An empty expectation
// is not checked: kana only make sense with the IME on, and a lone lower-case
// letter is roman input to an open IME.
struct Cell {
  const char* keys;
  const char* imeOn;
  const char* imeOff;
};

void expectCells(uint32_t options, const std::vector<Cell>& cells) {
  for (const Cell& cell : cells) {
    if (*cell.imeOn != '\0' || *cell.imeOff == '\0') {
      EXPECT_EQ(typed(options, true, cell.keys), cell.imeOn) << cell.keys << " (IME on)";
    }
    if (*cell.imeOff != '\0') {
      EXPECT_EQ(typed(options, false, cell.keys), cell.imeOff) << cell.keys << " (IME off)";
    }
  }
}

// Second keys * and # of every numbered row, and the cells both tables
// share: the * row and the # row.
std::vector<Cell> sharedCells() {
  return {
      {"1*", "", ""},
      {"1#", "", ""},
      {"2*", "", ""},
      {"2#", "", ""},
      {"3*", "", ""},
      {"3#", "", ""},
      {"4*", "", ""},
      {"4#", "", ""},
      {"5*", "", ""},
      {"5#", "", ""},
      {"6*", "", ""},
      {"6#", "", ""},
      {"7*", "", ""},
      {"7#", "", ""},
      {"8*", "", ""},
      {"8#", "", ""},
      {"9*", "", ""},
      {"9#", "", ""},
      {"0*", "", ""},
      {"0#", "", ""},
      // The * row: punctuation, nop for *, 0 and #.
      {"*1", "、", ""},
      {"*2", "。", ""},
      {"*3", "・", ""},
      {"*4", "ー", ""},
      {"*5", "「", ""},
      {"*6", "」", ""},
      {"*7", "？", "?"},
      {"*8", "！", "!"},
      {"*9", "　", " "},
      {"**", "", ""},
      {"*0", "", ""},
      {"*#", "", ""},
      // The # row: the second key's own character.
      {"#1", "１", "1"},
      {"#2", "２", "2"},
      {"#3", "３", "3"},
      {"#4", "４", "4"},
      {"#5", "５", "5"},
      {"#6", "６", "6"},
      {"#7", "７", "7"},
      {"#8", "８", "8"},
      {"#9", "９", "9"},
      {"#*", "＊", "*"},
      {"#0", "０", "0"},
      {"##", "＃", "#"},
  };
}

TEST(TwoTouchKeymapTest, Slot0PagerTableCells) {
  const std::vector<Cell> cells = {
      {"11", "あ", ""},
      {"12", "い", ""},
      {"13", "う", ""},
      {"14", "え", ""},
      {"15", "お", ""},
      {"16", "Ａ", "A"},
      {"17", "Ｂ", "B"},
      {"18", "Ｃ", "C"},
      {"19", "Ｄ", "D"},
      {"10", "Ｅ", "E"},
      {"21", "か", ""},
      {"22", "き", ""},
      {"23", "く", ""},
      {"24", "け", ""},
      {"25", "こ", ""},
      {"26", "Ｆ", "F"},
      {"27", "Ｇ", "G"},
      {"28", "Ｈ", "H"},
      {"29", "Ｉ", "I"},
      {"20", "Ｊ", "J"},
      {"31", "さ", ""},
      {"32", "し", ""},
      {"33", "す", ""},
      {"34", "せ", ""},
      {"35", "そ", ""},
      {"36", "Ｋ", "K"},
      {"37", "Ｌ", "L"},
      {"38", "Ｍ", "M"},
      {"39", "Ｎ", "N"},
      {"30", "Ｏ", "O"},
      {"41", "た", ""},
      {"42", "ち", ""},
      {"43", "つ", ""},
      {"44", "て", ""},
      {"45", "と", ""},
      {"46", "Ｐ", "P"},
      {"47", "Ｑ", "Q"},
      {"48", "Ｒ", "R"},
      {"49", "Ｓ", "S"},
      {"40", "Ｔ", "T"},
      {"51", "な", ""},
      {"52", "に", ""},
      {"53", "ぬ", ""},
      {"54", "ね", ""},
      {"55", "の", ""},
      {"56", "Ｕ", "U"},
      {"57", "Ｖ", "V"},
      {"58", "Ｗ", "W"},
      {"59", "Ｘ", "X"},
      {"50", "Ｙ", "Y"},
      {"61", "は", ""},
      {"62", "ひ", ""},
      {"63", "ふ", ""},
      {"64", "へ", ""},
      {"65", "ほ", ""},
      {"66", "Ｚ", "Z"},
      {"67", "？", "?"},
      {"68", "！", "!"},
      {"69", "ー", ""},
      {"60", "・", "/"},
      {"71", "ま", ""},
      {"72", "み", ""},
      {"73", "む", ""},
      {"74", "め", ""},
      {"75", "も", ""},
      {"76", "￥", "\\"},
      {"77", "＆", "&"},
      {"78", "", ""},
      {"79", "＝", "="},
      {"70", "、", ""},
      {"81", "や", ""},
      {"82", "（", "("},
      {"83", "ゆ", ""},
      {"84", "）", ")"},
      {"85", "よ", ""},
      {"86", "＊", "*"},
      {"87", "＃", "#"},
      {"88", "　", " "},
      {"89", "＠", "@"},
      {"80", "。", ""},
      {"91", "ら", ""},
      {"92", "り", ""},
      {"93", "る", ""},
      {"94", "れ", ""},
      {"95", "ろ", ""},
      {"96", "１", "1"},
      {"97", "２", "2"},
      {"98", "３", "3"},
      {"99", "４", "4"},
      {"90", "５", "5"},
      {"01", "わ", ""},
      {"02", "を", ""},
      {"03", "ん", ""},
      {"06", "６", "6"},
      {"07", "７", "7"},
      {"08", "８", "8"},
      {"09", "９", "9"},
      {"00", "０", "0"},
      // ゛ and ゜ rewrite the kana typed last.
      {"2104", "が", ""},
      {"6105", "ぱ", ""},
      {"6104", "ば", ""},
      {"2105", "か", ""},
      {"4304", "づ", ""},
  };
  expectCells(kTwoTouchMode, cells);
  expectCells(kTwoTouchMode, sharedCells());
}

TEST(TwoTouchKeymapTest, Slot2NicoTouchTableCells) {
  const std::vector<Cell> cells = {
      {"11", "あ", ""},  {"12", "い", ""},  {"13", "う", ""},  {"14", "え", ""},  {"15", "お", ""},
      {"16", "。", "."}, {"17", "ー", "-"}, {"18", "＠", "@"}, {"19", "＿", "_"}, {"10", "１", "1"},
      {"21", "か", ""},  {"22", "き", ""},  {"23", "く", ""},  {"24", "け", ""},  {"25", "こ", ""},
      {"26", "　", " "}, {"27", "", "a"},   {"28", "", "b"},   {"29", "", "c"},   {"20", "２", "2"},
      {"31", "さ", ""},  {"32", "し", ""},  {"33", "す", ""},  {"34", "せ", ""},  {"35", "そ", ""},
      {"36", "・", "/"}, {"37", "", "d"},   {"38", "", "e"},   {"39", "", "f"},   {"30", "３", "3"},
      {"41", "た", ""},  {"42", "ち", ""},  {"43", "つ", ""},  {"44", "て", ""},  {"45", "と", ""},
      {"46", "っ", ""},  {"47", "", "g"},   {"48", "", "h"},   {"49", "", "i"},   {"40", "４", "4"},
      {"51", "な", ""},  {"52", "に", ""},  {"53", "ぬ", ""},  {"54", "ね", ""},  {"55", "の", ""},
      {"56", "（", "("}, {"57", "", "j"},   {"58", "", "k"},   {"59", "", "l"},   {"50", "５", "5"},
      {"61", "は", ""},  {"62", "ひ", ""},  {"63", "ふ", ""},  {"64", "へ", ""},  {"65", "ほ", ""},
      {"66", "）", ")"}, {"67", "", "m"},   {"68", "", "n"},   {"69", "", "o"},   {"60", "６", "6"},
      {"71", "ま", ""},  {"72", "み", ""},  {"73", "む", ""},  {"74", "め", ""},  {"75", "も", ""},
      {"76", "", "p"},   {"77", "", "q"},   {"78", "", "r"},   {"79", "", "s"},   {"70", "７", "7"},
      {"81", "や", ""},  {"82", "ゆ", ""},  {"83", "よ", ""},  {"84", "ゃ", ""},  {"85", "ゅ", ""},
      {"86", "ょ", ""},  {"87", "", "t"},   {"88", "", "u"},   {"89", "", "v"},   {"80", "８", "8"},
      {"91", "ら", ""},  {"92", "り", ""},  {"93", "る", ""},  {"94", "れ", ""},  {"95", "ろ", ""},
      {"96", "", "w"},   {"97", "", "x"},   {"98", "", "y"},   {"99", "", "z"},   {"90", "９", "9"},
      {"01", "わ", ""},  {"02", "を", ""},  {"03", "ん", ""},  {"04", "、", ""},  {"05", "。", ""},
      {"06", "ー", ""},  {"07", "・", ""},  {"08", "！", "!"}, {"09", "？", "?"}, {"00", "０", "0"},
  };
  expectCells(kNicoTouchMode, cells);
  expectCells(kNicoTouchMode, sharedCells());
}

TEST(TwoTouchKeymapTest, StarConvertsTheKanaTypedLast) {
  const std::vector<Cell> cells = {
      {"11*", "ぁ", ""},
      {"11**", "あ", ""},
      {"21*", "が", ""},
      {"43*", "っ", ""},
      {"43**", "づ", ""},
      {"43***", "つ", ""},
      {"61**", "ぱ", ""},
      {"81*", "ゃ", ""},
      // A kana without other forms: * begins a pair of its own.
      {"51*1", "な、", ""},
  };
  expectCells(kTwoTouchMode, cells);
  // Nico-touch letters are [lower, upper].
  expectCells(kNicoTouchMode, {{"27*", "", "A"}, {"27**", "", "a"}, {"46*", "づ", ""}});
}

TEST(TwoTouchKeymapTest, MarkKeysRewriteOnlyAfterAKana) {
  // ゛ without a kana before it types the key's own sequence, D, which the
  // IME shows as a full-width letter until something completes it.
  EXPECT_EQ(typed(kTwoTouchMode, true, "04"), "ｄ");
  // The IME's roman table goes on composing with such letters: d + wa is
  // どぁ, and the nico-touch letter h + wa is ふぁ.
  EXPECT_EQ(typed(kTwoTouchMode, true, "04 01"), "どぁ");
  EXPECT_EQ(typed(kNicoTouchMode, true, "48 01"), "ふぁ");
  // Repeated marks keep rewriting the same kana.
  EXPECT_EQ(typed(kTwoTouchMode, true, "6104 05"), "ぱ");
  // A key of the user's own in between (here the clear key, which erases
  // か) leaves no kana to rewrite: あ stays. Shift alone changes nothing.
  EXPECT_EQ(typed(kTwoTouchMode, true, "11 21 C 04"), "あｄ");
  EXPECT_EQ(typed(kTwoTouchMode, true, "21 vk:10 04"), "が");
}

TEST(TwoTouchKeymapTest, ClearKeyCancelsAPendingFirstStroke) {
  EXPECT_EQ(typed(kTwoTouchMode, true, "1C21"), "か");
  // Without a first stroke it reaches the IME as a back-space.
  EXPECT_EQ(typed(kTwoTouchMode, true, "21 22 C"), "か");
  // Without option 0x4000 the clear key ends the pair and still reaches the
  // IME, which erases か.
  EXPECT_EQ(typed(0x108, true, "21 1C"), "");
  EXPECT_EQ(typed(0x108, true, "21 1C 21"), "か");
}

TEST(TwoTouchKeymapTest, GreetingInPagerCodes) {
  EXPECT_EQ(typed(kTwoTouchMode, true, "25 03 52 42 61"), "こんにちは");
}

}  // namespace
