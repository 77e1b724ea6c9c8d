#include "engine/engine_state.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>

#include "tests/support/image_builder.h"

namespace {

TestKeymap oneNopPerKey() {
  TestKeymap keymap;
  for (TestKey& key : keymap.keys) {
    key.type = kKeyTypeToggle;
    key.actions.push_back(nopAction());
  }
  return keymap;
}

class EngineStateTest : public ::testing::Test {
 protected:
  void SetUp() override { setEngineDefaults(engine); }
  void TearDown() override { clearKeymaps(engine); }
  EngineState engine;
};

TEST_F(EngineStateTest, DefaultsMatchTheFieldTable) {
  EXPECT_EQ(engine.options, uint32_t{kOptionAutoCapsLock | kOptionClearCancelsStroke});
  EXPECT_EQ(engine.timeoutMs, 1000);
  EXPECT_EQ(engine.activeKeymap, 0);
  EXPECT_EQ(engine.activeCharList, nullptr);
  EXPECT_EQ(engine.mainWindow, nullptr);
  const std::pair<int, int> keypad[] = {{0x31, 257}, {0x32, 258}, {0x33, 259}, {0x34, 260},
                                        {0x35, 261}, {0x36, 262}, {0x37, 263}, {0x38, 264},
                                        {0x39, 265}, {0x77, 266}, {0x30, 267}, {0x78, 268}};
  int mapped = 0;
  for (int vk = 0; vk < 256; ++vk) {
    if (engine.vkMap[vk] != 0) ++mapped;
  }
  EXPECT_EQ(mapped, 12);
  for (const auto& [vk, value] : keypad) EXPECT_EQ(engine.vkMap[vk], value) << vk;
  for (const KeymapImage& image : engine.keymaps) EXPECT_EQ(image.bytes, nullptr);
}

TEST_F(EngineStateTest, ClearKeymapsEmptiesSlotsAndKeepsSelection) {
  installTestKeymap(engine, 3, oneNopPerKey());
  installTestKeymap(engine, 7, oneNopPerKey());
  ASSERT_NE(engine.keymaps[3].bytes, nullptr);
  ASSERT_NE(engine.keymaps[7].bytes, nullptr);
  engine.activeKeymap = 7;
  engine.toggleKey = keyCodeOf(2);
  engine.options = kDefaultOptions | kOptionKanaToggle;
  engine.currentKeymap = &engine.keymaps[7];
  engine.vkMap[0x41] = 300;
  clearKeymaps(engine);
  for (const KeymapImage& image : engine.keymaps) EXPECT_EQ(image.bytes, nullptr);
  EXPECT_EQ(engine.currentKeymap, nullptr);
  EXPECT_EQ(engine.vkMap[0x41], 0);
  EXPECT_EQ(engine.vkMap[0x31], 257);
  EXPECT_EQ(engine.activeKeymap, 7);
  EXPECT_EQ(engine.toggleKey, keyCodeOf(2));
  EXPECT_EQ(engine.options, kDefaultOptions | kOptionKanaToggle);
}

// With "テンキーを使う" the numeric keypad is the keypad, digits by their
// labels, * as *, the decimal key as #; the digit row and F8/F9 are the
// system's. Every load (clearKeymaps) keeps the choice.
TEST_F(EngineStateTest, TheNumericKeypadOptionChoosesTheKeypadKeys) {
  const uint8_t digitRow[] = {0x31, 0x32, 0x33, 0x34, 0x35, 0x36,
                              0x37, 0x38, 0x39, 0x77, 0x30, 0x78};
  const uint8_t numericKeypad[] = {0x61, 0x62, 0x63, 0x64, 0x65, 0x66,
                                   0x67, 0x68, 0x69, 0x6A, 0x60, 0x6E};
  auto expectKeypad = [this](const uint8_t(&keys)[kKeypadColumns]) {
    uint16_t expected[256] = {};
    for (int column = 0; column < kKeypadColumns; ++column) expected[keys[column]] = 257 + column;
    for (int vk = 0; vk < 256; ++vk) EXPECT_EQ(engine.vkMap[vk], expected[vk]) << std::hex << vk;
  };
  engine.options |= kOptionNumericKeypad;
  selectKeypadKeys(engine);
  expectKeypad(numericKeypad);
  installTestKeymap(engine, 4, oneNopPerKey());
  clearKeymaps(engine);
  expectKeypad(numericKeypad);
  engine.options &= ~uint32_t{kOptionNumericKeypad};
  selectKeypadKeys(engine);
  expectKeypad(digitRow);
  clearKeymaps(engine);
  expectKeypad(digitRow);
}

// Slot 10 would lie just past the slots, where vkMap begins: nothing at all
// may change.
TEST_F(EngineStateTest, InstallKeymapIgnoresSlotsAboveNine) {
  installTestKeymap(engine, 9, oneNopPerKey());
  engine.activeKeymap = 9;
  engine.currentKeymap = &engine.keymaps[9];
  engine.toggleKey = keyCodeOf(1);
  const EngineState before = engine;
  const Bytes bytes = buildImageBytes(oneNopPerKey());
  for (uint32_t slot : {10u, 11u, 0xFFFFFFFFu}) {
    installKeymap(engine, slot, copyToImageBlock(bytes), static_cast<uint32_t>(bytes.size()));
    for (int i = 0; i < kKeymapSlots; ++i) {
      EXPECT_EQ(engine.keymaps[i].bytes, before.keymaps[i].bytes) << slot;
      EXPECT_EQ(engine.keymaps[i].size, before.keymaps[i].size) << slot;
    }
    EXPECT_TRUE(std::equal(std::begin(engine.vkMap), std::end(engine.vkMap), before.vkMap));
    EXPECT_EQ(engine.activeKeymap, 9);
    EXPECT_EQ(engine.currentKeymap, &engine.keymaps[9]);
    EXPECT_EQ(engine.toggleKey, keyCodeOf(1));
    EXPECT_EQ(engine.options, before.options);
    EXPECT_EQ(engine.imeStatus, before.imeStatus);
  }
}

TEST_F(EngineStateTest, InstallKeymapReplacesTheSlotsImage) {
  installTestKeymap(engine, 3, oneNopPerKey());
  TestKeymap second = oneNopPerKey();
  second.keys[0].type = kKeyTypeBell;
  installTestKeymap(engine, 3, second);  // the first image is released (ASan checks the leak)
  EXPECT_EQ(readKeyRecord(engine.keymaps[3], 0).type, kKeyTypeBell);
}

TEST_F(EngineStateTest, InstallKeymapRefusesAMalformedImage) {
  Bytes bytes = buildImageBytes(oneNopPerKey());
  writeU16(bytes.data() + 2, 40);  // key 0 claims more actions than the table holds
  installKeymap(engine, 1, copyToImageBlock(bytes), static_cast<uint32_t>(bytes.size()));
  EXPECT_EQ(engine.keymaps[1].bytes, nullptr);
}

TEST_F(EngineStateTest, ReleasingTheImageOfTheActiveCharListEndsItWithoutLatch) {
  TestKeymap keymap = oneNopPerKey();
  keymap.keys[0].actions = {charAction({{0, 0x41}, {2, 0x41}})};
  installTestKeymap(engine, 4, keymap);
  const KeymapImage& image = engine.keymaps[4];
  engine.activeCharList = keyActionRecord(image, readKeyRecord(image, 0), 0);
  engine.charIndex = 1;  // would set the latch if the list were closed normally
  installTestKeymap(engine, 4, oneNopPerKey());
  EXPECT_EQ(engine.activeCharList, nullptr);
  EXPECT_EQ(engine.charIndex, 0);
  EXPECT_FALSE(engine.capsLockPending);

  installTestKeymap(engine, 4, keymap);
  engine.activeCharList = keyActionRecord(image, readKeyRecord(image, 0), 0);
  engine.charIndex = 1;
  clearKeymaps(engine);
  EXPECT_EQ(engine.activeCharList, nullptr);
  EXPECT_FALSE(engine.capsLockPending);
}

TEST_F(EngineStateTest, ReleasingAnotherImageKeepsTheActiveCharList) {
  TestKeymap keymap = oneNopPerKey();
  keymap.keys[0].actions = {charAction({{1, 0x54}})};
  installTestKeymap(engine, 4, keymap);
  const KeymapImage& image = engine.keymaps[4];
  engine.activeCharList = keyActionRecord(image, readKeyRecord(image, 0), 0);
  installTestKeymap(engine, 5, oneNopPerKey());
  installTestKeymap(engine, 5, oneNopPerKey());
  EXPECT_NE(engine.activeCharList, nullptr);
}

struct LatchCase {
  const char* name;
  uint32_t options;
  uint8_t modifier;
  uint8_t vk;
  int charIndex;
  bool latched;
};

void PrintTo(const LatchCase& c, std::ostream* os) {
  *os << c.name;
}

class LatchTest : public EngineStateTest, public ::testing::WithParamInterface<LatchCase> {};

TEST_P(LatchTest, ClosingTheListSetsThePendingBitOnlyForALetterAwayFromTheFirstEntry) {
  const LatchCase& c = GetParam();
  TestKeymap keymap = oneNopPerKey();
  keymap.keys[0].actions = {charAction({{0, 0x41}, {c.modifier, c.vk}})};
  installTestKeymap(engine, 0, keymap);
  const KeymapImage& image = engine.keymaps[0];
  engine.options = c.options;
  engine.activeCharList = keyActionRecord(image, readKeyRecord(image, 0), 0);
  engine.charIndex = c.charIndex;
  closeActiveCharList(engine);
  EXPECT_EQ(engine.capsLockPending, c.latched);
  EXPECT_EQ(engine.options, c.options);
  EXPECT_EQ(engine.activeCharList, nullptr);
  EXPECT_EQ(engine.charIndex, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LatchTest,
    ::testing::Values(LatchCase{"ShiftedLetter", kOptionAutoCapsLock, 2, 0x41, 1, true},
                      LatchCase{"FirstEntry", kOptionAutoCapsLock, 2, 0x41, 0, false},
                      LatchCase{"KanaEntry", kOptionAutoCapsLock, 1, 0x41, 1, false},
                      LatchCase{"Digit", kOptionAutoCapsLock, 0, 0x31, 1, false},
                      LatchCase{"LastLetterZ", kOptionAutoCapsLock, 0, 0x5A, 1, true},
                      LatchCase{"OptionOff", kOptionClearCancelsStroke, 2, 0x41, 1, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(EngineStateTest, APendingLatchStaysPendingWhenNothingSetsIt) {
  engine.capsLockPending = true;
  closeActiveCharList(engine);
  EXPECT_TRUE(engine.capsLockPending);
}

// toggleKey and firstStroke keep a column 16 above itself, so that column 0
// is not the 0 that means none.
TEST(KeyCodeTest, AColumnIsStoredSixteenAboveItself) {
  EXPECT_EQ(keyCodeOf(0), 16);
  EXPECT_EQ(keyCodeOf(11), 27);
  for (int column = 0; column < kKeypadColumns; ++column) {
    EXPECT_EQ(columnOf(keyCodeOf(column)), column);
  }
}

TEST_F(EngineStateTest, ResetAndSelectKeepToggleIndexAndTime) {
  engine.toggleIndex = 3;
  engine.lastKeyTime = 99;
  engine.toggleKey = keyCodeOf(1);
  engine.firstStroke = keyCodeOf(4);
  resetInputState(engine);
  EXPECT_EQ(engine.toggleKey, 0);
  EXPECT_EQ(engine.firstStroke, 0);
  EXPECT_EQ(engine.toggleIndex, 3);
  EXPECT_EQ(engine.lastKeyTime, 99u);
  engine.toggleKey = keyCodeOf(1);
  selectKeymap(engine, 300);
  EXPECT_EQ(engine.activeKeymap, 300);
  EXPECT_EQ(engine.toggleKey, 0);
  EXPECT_EQ(activeKeymapImage(engine), nullptr);
}

struct ModeKeymapCase {
  bool rotated;  // the screen turned
  uint32_t options;
  int32_t slot;
};

TEST_F(EngineStateTest, SelectModeKeymapFollowsModeRotationAndOptions) {
  const ModeKeymapCase cases[] = {
      {true, rotationBehaviourBits(kRotationUseKeymap6) | kOptionKanaToggle, 6},
      {true, rotationBehaviourBits(kRotationStandardKana) | kOptionKanaToggle, 256},
      {true, rotationBehaviourBits(kRotationReleaseHook) | kOptionKanaToggle, 4},
      {true, rotationBehaviourBits(kRotationDoNothing) | kOptionKanaToggle, 4},
      {false, kOptionTwoTouch | kOptionNicoTouch, 2},
      {false, kOptionTwoTouch, 0},
      {true, rotationBehaviourBits(kRotationUseKeymap6), 6},
      {false, kOptionKanaToggle, 4},
      // A stored Flag can hold both mode bits: 2-touch wins.
      {false, kOptionTwoTouch | kOptionKanaToggle, 0},
      {false, kOptionTwoTouch | kOptionKanaToggle | kOptionNicoTouch, 2},
  };
  for (const ModeKeymapCase& c : cases) {
    engine.options = c.options;
    engine.screenRotated = c.rotated;
    engine.activeKeymap = 9;
    engine.toggleKey = keyCodeOf(1);
    selectModeKeymap(engine);
    EXPECT_EQ(engine.activeKeymap, c.slot) << std::hex << c.options << " rotated " << c.rotated;
    EXPECT_EQ(engine.toggleKey, 0) << std::hex << c.options << " rotated " << c.rotated;
  }
}

TEST_F(EngineStateTest, SelectModeKeymapWithoutModeChangesNothing) {
  engine.options = kDefaultOptions;
  engine.activeKeymap = 9;
  engine.toggleKey = keyCodeOf(1);
  engine.firstStroke = keyCodeOf(4);
  selectModeKeymap(engine);
  EXPECT_EQ(engine.activeKeymap, 9);
  EXPECT_EQ(engine.toggleKey, keyCodeOf(1));
  EXPECT_EQ(engine.firstStroke, keyCodeOf(4));
}

}  // namespace
