// Kana toggle input on the default keymap: every candidate of every key of
// slots 4 (IME on) and 5 (IME off), and the post-conversion list of each.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/sim/sim_fixture.h"

namespace {

// A candidate and its post-conversion forms, starting with itself.
using Forms = std::vector<std::string>;

struct ToggleKey {
  char key;
  std::vector<Forms> candidates;
};

// Pressing the key n times types candidate n - 1; each * after it steps to
// the next form of that candidate, around to the first.
void expectToggleKey(uint32_t options, bool imeOn, const ToggleKey& key) {
  const size_t count = key.candidates.size();
  for (size_t i = 0; i < count; ++i) {
    const Forms& forms = key.candidates[i];
    const std::string presses(i + 1, key.key);
    EXPECT_EQ(typed(options, imeOn, presses), forms[0]) << key.key << " x" << i + 1;
    std::string script = presses;
    for (size_t step = 1; step <= forms.size(); ++step) {
      script += "*";
      EXPECT_EQ(typed(options, imeOn, script), forms[step % forms.size()]) << script;
    }
  }
  // One press more than there are candidates comes back to the first.
  EXPECT_EQ(typed(options, imeOn, std::string(count + 1, key.key)), key.candidates[0][0])
      << key.key << " wraps";
}

TEST(ToggleKeymapTest, Slot4TypesEveryKanaCandidateAndItsPostConversionForms) {
  const std::vector<ToggleKey> keys = {
      {'1',
       {{"あ", "ぁ"},
        {"い", "ぃ"},
        {"う", "ぅ", "ゔ"},
        {"え", "ぇ"},
        {"お", "ぉ"},
        {"ぁ", "あ"},
        {"ぃ", "い"},
        {"ぅ", "ゔ", "う"},
        {"ぇ", "え"},
        {"ぉ", "お"}}},
      {'2', {{"か", "が"}, {"き", "ぎ"}, {"く", "ぐ"}, {"け", "げ"}, {"こ", "ご"}}},
      {'3', {{"さ", "ざ"}, {"し", "じ"}, {"す", "ず"}, {"せ", "ぜ"}, {"そ", "ぞ"}}},
      {'4',
       {{"た", "だ"},
        {"ち", "ぢ"},
        {"つ", "っ", "づ"},
        {"て", "で"},
        {"と", "ど"},
        {"っ", "づ", "つ"}}},
      {'5', {{"な"}, {"に"}, {"ぬ"}, {"ね"}, {"の"}}},
      {'6',
       {{"は", "ば", "ぱ"},
        {"ひ", "び", "ぴ"},
        {"ふ", "ぶ", "ぷ"},
        {"へ", "べ", "ぺ"},
        {"ほ", "ぼ", "ぽ"}}},
      {'7', {{"ま"}, {"み"}, {"む"}, {"め"}, {"も"}}},
      {'8', {{"や", "ゃ"}, {"ゆ", "ゅ"}, {"よ", "ょ"}, {"ゃ", "や"}, {"ゅ", "ゆ"}, {"ょ", "よ"}}},
      {'9', {{"ら"}, {"り"}, {"る"}, {"れ"}, {"ろ"}}},
      {'0', {{"わ"}, {"を"}, {"ん"}, {"ゎ"}, {"ー"}}},
      {'#', {{"、"}, {"。"}, {"？"}, {"！"}, {"・"}, {"　"}}},
  };
  for (const ToggleKey& key : keys) expectToggleKey(kKanaToggleMode, true, key);
}

TEST(ToggleKeymapTest, Slot5TypesEveryAlphanumericCandidateAndTogglesCase) {
  std::vector<ToggleKey> keys = {
      {'1', {{"."}, {"@"}, {"-"}, {"_"}, {"/"}, {":"}, {"~"}, {"1"}}},
      {'0', {{"'"}, {"\""}, {":"}, {";"}, {"0"}}},
      {'#', {{"."}, {","}, {"?"}, {"!"}, {" "}}},
  };
  const char* const letters[] = {"abc", "def", "ghi", "jkl", "mno", "pqrs", "tuv", "wxyz"};
  for (int i = 0; i < 8; ++i) {
    ToggleKey key{static_cast<char>('2' + i), {}};
    const std::string lower = letters[i];
    for (char c : lower) {
      key.candidates.push_back({std::string(1, c), std::string(1, static_cast<char>(c - 32))});
    }
    for (char c : lower) {
      key.candidates.push_back({std::string(1, static_cast<char>(c - 32)), std::string(1, c)});
    }
    key.candidates.push_back({std::string(1, static_cast<char>('2' + i))});
    keys.push_back(key);
  }
  for (const ToggleKey& key : keys) expectToggleKey(kKanaToggleMode, false, key);
}

TEST(ToggleKeymapTest, ALoneStarTypesNothing) {
  EXPECT_EQ(typed(kKanaToggleMode, true, "*"), "");
  EXPECT_EQ(typed(kKanaToggleMode, false, "*"), "");
  // After a char list of one entry there is nothing to convert either.
  EXPECT_EQ(typed(kKanaToggleMode, true, "5*"), "な");
}

TEST(ToggleKeymapTest, TypesGreetingWordByWord) {
  EXPECT_EQ(typed(kKanaToggleMode, true, "22222 000 55 44 6"), "こんにちは");
  // After a conversion the same key starts a new character.
  EXPECT_EQ(typed(kKanaToggleMode, true, "444 * 4"), "った");
}

TEST(ToggleKeymapTest, RightArrowConfirmsTheCandidateSoTheSameKeyStartsAnew) {
  EXPECT_EQ(typed(kKanaToggleMode, true, "2>2"), "かか");
  EXPECT_EQ(typed(kKanaToggleMode, true, "22>22"), "きき");
  // Post-conversion still reaches the confirmed candidate.
  EXPECT_EQ(typed(kKanaToggleMode, true, "6>*"), "ば");
  // Without a running toggle the arrow passes and the IME sees it.
  EXPECT_EQ(typed(kKanaToggleMode, true, ">2"), "か");
}

TEST(ToggleKeymapTest, AutoAdvanceStartsANewCharacterAfterTheTimeout) {
  const uint32_t autoAdvance = kKanaToggleMode | kOptionAutoAdvance;
  // Each press takes 100 ms: +900 makes the gap exactly the 1000 ms timeout.
  EXPECT_EQ(typed(autoAdvance, true, "2 +900 2"), "かか");
  EXPECT_EQ(typed(autoAdvance, true, "2 +899 2"), "き");
  EXPECT_EQ(typed(autoAdvance, true, "22 +5000 22"), "きき");
  // Without the option time does not matter.
  EXPECT_EQ(typed(kKanaToggleMode, true, "2 +5000 2"), "き");
  // Post-conversion ignores the timeout unless its own option is set too.
  EXPECT_EQ(typed(autoAdvance, true, "2 +5000 *"), "が");
  EXPECT_EQ(typed(autoAdvance | kOptionAdvanceAfterStep, true, "2 +5000 *"), "か");
}

TEST(ToggleKeymapTest, TheImeStateChoosesBetweenKanaAndAlphanumericSlots) {
  EXPECT_EQ(typed(kKanaToggleMode, true, "2 ime:off 3"), "かd");
  EXPECT_EQ(typed(kKanaToggleMode, false, "3 ime:on 2"), "dか");
}

TEST(ToggleKeymapTest, AutoCapsLockKeepsUpperCaseAfterAConvertedCapital) {
  // a, converted to A; the next letter comes after a CapsLock tap.
  EXPECT_EQ(typed(kKanaToggleMode, false, "2* 3 3"), "AE");
  // Converting back to lower case turns CapsLock off again.
  EXPECT_EQ(typed(kKanaToggleMode, false, "2* 3* 4"), "Adg");
  // Without the option every list starts from its own case.
  EXPECT_EQ(typed(0x40, false, "2* 3"), "Ad");
  // Kana never come out as capitals: the latch does not fire before a kana,
  // and CapsLock that the latch turned on is turned off again first, unless
  // the user has pressed CapsLock since.
  EXPECT_EQ(typed(kKanaToggleMode, false, "2* ime:on 2"), "Aか");
  EXPECT_EQ(typed(kKanaToggleMode, false, "2*3 ime:on 2 ime:off 3"), "ADかd");
  EXPECT_EQ(typed(kKanaToggleMode, false, "2*3 vk:14 ime:on 2"), "ADか");
}

TEST(ToggleKeymapTest, ImeControlCommitsWhatTheToggleLeavesBeforeADirectCharacter) {
  const uint32_t imeControl = kKanaToggleMode | 0x20;
  // The toggle's back-space erases 。 before the Enter arrives: no new line.
  EXPECT_EQ(typed(imeControl, true, "###"), "?");
  EXPECT_EQ(typed(imeControl, true, "2###"), "か?");
  // The full-width space is the IME's, IME control or not.
  EXPECT_EQ(typed(imeControl, true, "2######"), "か　");
}

TEST(ToggleKeymapTest, ClearKeyErasesTheLastCharacter) {
  EXPECT_EQ(typed(kKanaToggleMode, true, "2 3 C"), "か");
  EXPECT_EQ(typed(kKanaToggleMode, false, "2 3 C"), "a");
}

}  // namespace
