// Symbol lookup goes through a hash index; it must find exactly what a walk
// in definition order would: every symbol, the first of a repeated name, and
// nothing for a name whose definition could not be stored.
#include <gtest/gtest.h>

#include "tests/keymap/keymap_load.h"

namespace {

std::string hex(int value) {
  char text[16];
  std::snprintf(text, sizeof text, "'\\x%02x'", value & 0xFF);
  return text;
}

TEST(KeymapSymbolIndexTest, AllOfAThousandSymbolsAreFoundWithTheirValues) {
  std::string text;
  // Names that differ late and in length, to meet hash collisions.
  for (int i = 0; i < 1024; ++i) {
    text += "defcode S" + std::to_string(i) + std::string(i % 7, '_') + " " + hex(i * 7) + "\n";
  }
  text += "keymap\nkey '\\x02'\nraw";
  for (int i = 0; i < 1024; i += 17) text += " S" + std::to_string(i) + std::string(i % 7, '_');
  text += "\n" + keys(11);
  KeymapLoad load;
  ASSERT_TRUE(load.load(text).empty());
  const KeymapImage& image = load.engine.keymaps[0];
  const uint8_t* raw = keyActionRecord(image, readKeyRecord(image, 0), 0);
  ASSERT_NE(raw, nullptr);
  ASSERT_EQ(actionKind(raw), kActionRaw);
  ASSERT_EQ(rawByteCount(raw), 61u);
  for (int n = 0; n < 61; ++n) EXPECT_EQ(rawBytes(raw)[n], (n * 17 * 7) & 0xFF) << n;
}

TEST(KeymapSymbolIndexTest, RepeatedNamesKeepTheirFirstValueAmongMany) {
  std::string text;
  for (int i = 0; i < 300; ++i) text += "defcode K" + std::to_string(i) + " " + hex(i) + "\n";
  for (int i = 0; i < 300; ++i) text += "defcode K" + std::to_string(i) + " '\\xEE'\n";
  text += "keymap\nkey '\\x02'\nraw K0 K150 K299\n" + keys(11);
  KeymapLoad load;
  ASSERT_TRUE(load.load(text).empty());
  const Bytes image = load.image(0);
  EXPECT_EQ(Bytes(image.end() - 3, image.end()), (Bytes{0, 150, 299 & 0xFF}));
}

TEST(KeymapSymbolIndexTest, TheStringAreaLimitHoldsWithTheIndex) {
  // 20 names of 800 bytes fill the string area; the 21st cannot be stored.
  std::string text;
  for (int i = 0; i < 21; ++i) {
    std::string name(800, static_cast<char>('a' + i));
    text += "defcode " + name + " " + hex(i) + "\n";
  }
  KeymapLoad load;
  EXPECT_EQ(load.load(text), std::vector<std::string>{"21行:string領域が溢れました"});
  // Without the 21st, the twentieth (all "t") is found as a value.
  text.clear();
  for (int i = 0; i < 20; ++i) {
    text += "defcode " + std::string(800, static_cast<char>('a' + i)) + " " + hex(i) + "\n";
  }
  text += "defcode X " + std::string(800, 't') + "\n";
  EXPECT_TRUE(load.load(text).empty());
}

}  // namespace
