// Compiled images, byte for byte.
#include <gtest/gtest.h>

#include "tests/keymap/keymap_load.h"

namespace {

TEST(KeymapImageBuildTest, TwelveOneNopKeys) {
  KeymapLoad load;
  EXPECT_TRUE(load.load("keymap '\\x00'\n" + keys(12, "nop\n")).empty());
  const Bytes image = load.image(0);
  ASSERT_EQ(image.size(), 96u + 48u + 24u);
  for (uint32_t k = 0; k < 12; ++k) {
    const uint8_t* key = image.data() + 8 * k;
    EXPECT_EQ(readU16(key), 2);
    EXPECT_EQ(readU16(key + 2), 1);
    EXPECT_EQ(readU32(key + 4), 96 + 4 * k) << "key " << k;
    EXPECT_EQ(readU32(image.data() + 96 + 4 * k), 144 + 2 * k) << "entry " << k;
    EXPECT_EQ(image[144 + 2 * k], kActionNop);
    EXPECT_EQ(image[145 + 2 * k], 0);
  }
}

TEST(KeymapImageBuildTest, EveryRecordKind) {
  KeymapLoad load;
  const std::string text =
      "defcode KANA '\\x01'\n"
      "defcode SHIFT '\\x02'\n"
      "keymap '\\x07'\n"
      "key '\\x02'\n"
      "char KANA A\n"
      "attach KANA SHIFT '\\x41'\n"
      "# a comment between the entries\n"
      "attach 1 # the note is not a token\n"
      "char\n"
      "command '\\x07' '\\x01' extra words\n"
      "key '\\x03'\n"
      "raw '\\x01' A '\\x02' A # release\n"
      "exec \"\\Windows\\calc.exe\"  \"-x y\" tail\n"
      "exec \"\\Windows\\open.exe\n"
      "exec noquote\n"
      "exec \"a\" b\n" +
      keys(10, "", "'\\x00'");
  EXPECT_TRUE(load.load(text).empty());
  TestKeymap expected;
  expected.keys[0] = {
      2, {charAction({{1, 'A'}, {3, 0x41}, {0, '1'}}), charAction({{0, 0}}), commandAction(7, 1)}};
  expected.keys[1] = {
      3,
      {rawAction({1, 'A', 2, 'A'}), execAction("\\Windows\\calc.exe", "-x y"),
       execAction("\\Windows\\open.exe", ""), execAction("", ""), execAction("a", "")}};
  for (int column = 2; column < 12; ++column) expected.keys[column].type = 0;
  EXPECT_EQ(load.image(7), buildImageBytes(expected));
  EXPECT_EQ(load.filledSlots(), std::vector<int>{7});
}

TEST(KeymapImageBuildTest, ActionsBeforeTheFirstKeyStayUnreferenced) {
  KeymapLoad load;
  const std::string text =
      "nop\n"
      "command '\\x01' '\\x02'\n"
      "keymap '\\x01'\n"
      "raw '\\x01'\n"
      "exec \"p\" \"q\"\n"
      "nop\n" +
      keys(1, "nop\ncommand '\\x03'\n") + keys(11);
  EXPECT_TRUE(load.load(text).empty());
  TestKeymap expected;
  expected.leadingActions = {rawAction({1}), execAction("p", "q"), nopAction()};
  expected.keys[0] = {2, {nopAction(), commandAction(3, 0)}};
  for (int column = 1; column < 12; ++column) expected.keys[column] = {2, {}};
  const Bytes image = load.image(1);
  EXPECT_EQ(image, buildImageBytes(expected));
  // The first key's run begins after the three unreferenced entries.
  EXPECT_EQ(readU32(image.data() + 4), 96u + 12u);
  // Keys without actions point where their first entry would be.
  EXPECT_EQ(readU32(image.data() + 8 + 4), 96u + 20u);
}

TEST(KeymapImageBuildTest, BellKeysAndLowBitsOfValues) {
  KeymapLoad load;
  std::string twelve;
  for (int i = 0; i < 12; ++i) twelve += "char '\\x1" + std::string(1, "0123456789ab"[i]) + "'\n";
  const std::string text =
      "keymap '\\x02'\n" + keys(1, twelve, "'\\x10001'") + keys(11, "command '\\x1ff' '\\xabc'\n");
  EXPECT_TRUE(load.load(text).empty());
  const Bytes image = load.image(2);
  ASSERT_FALSE(image.empty());
  EXPECT_EQ(readU16(image.data()), 1);  // low 16 bits of 0x10001: a bell key
  EXPECT_EQ(readU16(image.data() + 2), 12);
  const uint32_t lastRecord = readU32(image.data() + 96 + 4 * 22);
  EXPECT_EQ(Bytes(image.begin() + lastRecord, image.end()), commandAction(0xff, 0xbc));
}

TEST(KeymapImageBuildTest, SameNumberTwiceKeepsTheLater) {
  KeymapLoad load;
  const std::string text = "keymap '\\x01'\n" + keys(12, "nop\n") + emptyKeymap(1);
  EXPECT_TRUE(load.load(text).empty());
  EXPECT_EQ(load.image(1).size(), 96u);
  EXPECT_EQ(load.filledSlots(), std::vector<int>{1});
}

}  // namespace
