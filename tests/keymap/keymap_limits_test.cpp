// Full buffers are reported and never install a keymap that lost something.
#include <gtest/gtest.h>

#include "tests/keymap/keymap_load.h"

namespace {

using Messages = std::vector<std::string>;

std::string execOfSize(size_t recordSize) {
  return "exec \"" + std::string(recordSize - 4, 'p') + "\"\n";
}

std::string repeated(const std::string& line, int count) {
  std::string text;
  for (int i = 0; i < count; ++i) text += line;
  return text;
}

TEST(KeymapLimitsTest, ActionAreaHoldsExactly32768Bytes) {
  // 40 records of 800 bytes and one of 768 fill the area to the byte.
  const std::string full = repeated(execOfSize(800), 40) + execOfSize(768);
  KeymapLoad load;
  EXPECT_TRUE(load.load("keymap\n" + keys(11) + "key '\\x02'\n" + full).empty());
  EXPECT_EQ(load.image(0).size(), 96u + 41 * 4 + 32768);

  // One byte more: reported, the load stops, the keymap is not installed.
  const std::string text =
      emptyKeymap(1) + "keymap\n" + keys(11) + "key '\\x02'\n" + full + "nop\n" + emptyKeymap(2);
  EXPECT_EQ(load.load(text), Messages{"68行:action領域が溢れました"});
  EXPECT_EQ(load.filledSlots(), std::vector<int>{1});
  // A record cut short inside the area is reported the same way.
  const std::string cut = "keymap\n" + keys(11) + "key '\\x02'\n" +
                          full.substr(0, full.rfind("exec")) + execOfSize(770);
  EXPECT_EQ(load.load(cut), Messages{"54行:action領域が溢れました"});
  EXPECT_TRUE(load.filledSlots().empty());
}

TEST(KeymapLimitsTest, ActionTableHolds4096Actions) {
  KeymapLoad load;
  const std::string head = "keymap\n" + keys(11) + "key '\\x02'\n";
  EXPECT_TRUE(load.load(head + repeated("nop\n", 4096)).empty());
  EXPECT_EQ(readU16(load.image(0).data() + 11 * 8 + 2), 4096);
  EXPECT_EQ(load.load(head + repeated("nop\n", 4096) + "char A\n"),
            Messages{"4110行:actionの数が多すぎます"});
  EXPECT_TRUE(load.filledSlots().empty());
}

TEST(KeymapLimitsTest, CharListHolds255Entries) {
  KeymapLoad load;
  const std::string head = "keymap\n" + keys(11) + "key '\\x02'\nchar A\n";
  EXPECT_TRUE(load.load(head + repeated("attach B\n", 254)).empty());
  const Bytes image = load.image(0);
  ASSERT_EQ(image.size(), 96u + 4 + 2 + 2 * 255);
  EXPECT_EQ(image[101], 255);
  EXPECT_EQ(load.load(head + repeated("attach B\n", 255)),
            Messages{"269行:attachの数が多すぎます"});
  EXPECT_TRUE(load.filledSlots().empty());
}

TEST(KeymapLimitsTest, RawListHolds255Bytes) {
  KeymapLoad load;
  const std::string head = "keymap\n" + keys(11) + "key '\\x02'\n";
  EXPECT_TRUE(load.load(head + "raw" + repeated(" A", 255) + "\n").empty());
  const Bytes image = load.image(0);
  ASSERT_EQ(image.size(), 96u + 4 + 3 + 255);
  EXPECT_EQ(image[102], 255);
  EXPECT_EQ(load.load(head + "raw" + repeated(" A", 256) + "\n"),
            Messages{"14行:rawのbyte数が多すぎます"});
  EXPECT_TRUE(load.filledSlots().empty());
  // Before the first keymap the record is discarded whatever its length; its
  // tokens are still checked.
  EXPECT_TRUE(load.load("raw" + repeated(" A", 300) + "\n" + emptyKeymap(0)).empty());
  EXPECT_EQ(load.filledSlots(), std::vector<int>{0});
  EXPECT_EQ(load.load("raw" + repeated(" A", 300) + " QQ\n" + emptyKeymap(0)),
            Messages{"1行:symbolが見つかりません"});
}

TEST(KeymapLimitsTest, AFullBufferGivesNoKeyCountMessages) {
  const std::string bellKey = "keymap\nkey '\\x01'\nchar A\n";
  const std::string elevenKeys = "keymap\n" + keys(10) + "key '\\x02'\n";
  struct FullCase {
    const char* what;
    std::string text;
    Messages noted;
  };
  const FullCase cases[] = {
      {"a bell key's char list overflows",
       bellKey + repeated("attach B\n", 255),
       {"258行:attachの数が多すぎます"}},
      {"a raw list overflows in a keymap of eleven keys",
       elevenKeys + "raw" + repeated(" A", 256) + "\n",
       {"13行:rawのbyte数が多すぎます"}},
      {"the action table overflows in the first key",
       "keymap\nkey '\\x02'\n" + repeated("nop\n", 4097),
       {"4099行:actionの数が多すぎます"}},
  };
  for (const FullCase& c : cases) {
    KeymapLoad load;
    load.load(c.text);
    EXPECT_EQ(load.noted(), c.noted) << c.what;
    EXPECT_TRUE(load.filledSlots().empty()) << c.what;
  }
  // A raw line of 278 unknown symbols: one box; the rest is kept back.
  KeymapLoad load;
  EXPECT_EQ(load.load(elevenKeys + "raw" + repeated(" QQ", 278) + "\n"),
            Messages{"13行:symbolが見つかりません"});
  const Messages noted = load.noted();
  ASSERT_EQ(noted.size(), 257u);
  EXPECT_EQ(noted[255], "13行:symbolが見つかりません (kept back)");
  EXPECT_EQ(noted[256], "13行:rawのbyte数が多すぎます (kept back)");
}

TEST(KeymapLimitsTest, ActionsOutsideAKeymapNeverFillTheArea) {
  KeymapLoad load;
  EXPECT_TRUE(
      load.load(repeated(execOfSize(800), 50) + repeated("nop\n", 5000) + emptyKeymap(0)).empty());
  EXPECT_EQ(load.image(0).size(), 96u);
}

}  // namespace
