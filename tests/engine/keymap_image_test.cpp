#include "engine/keymap_image.h"

#include <gtest/gtest.h>

#include "tests/support/image_builder.h"

namespace {

TestKeymap sampleKeymap() {
  TestKeymap keymap;
  keymap.leadingActions = {nopAction()};
  keymap.keys[0] = {kKeyTypeToggle, {charAction({{1, 0x33}, {3, 0x33}}), nopAction()}};
  keymap.keys[5] = {kKeyTypeBell, {commandAction(4, 2), rawAction({1, 0x41, 2, 0x41})}};
  keymap.keys[11] = {kKeyTypeToggle, {execAction("\\Windows\\a.exe", "-x")}};
  return keymap;
}

TEST(KeymapImageTest, AccessorsFollowTheLayout) {
  const Bytes bytes = buildImageBytes(sampleKeymap());
  KeymapImage image{const_cast<uint8_t*>(bytes.data()), static_cast<uint32_t>(bytes.size())};
  ASSERT_TRUE(isValidKeymapImage(bytes.data(), image.size));
  EXPECT_EQ(actionTableCount(image), 6u);
  EXPECT_EQ(actionRecordsStart(image), 96u + 24u);
  EXPECT_EQ(actionRecordAt(image, 0)[0], kActionNop);
  EXPECT_EQ(actionRecordAt(image, 6), nullptr);

  const KeyRecord key0 = readKeyRecord(image, 0);
  EXPECT_EQ(key0.type, kKeyTypeToggle);
  EXPECT_EQ(key0.actionCount, 2);
  EXPECT_EQ(key0.actions, 100u);  // after the leading action's entry
  const uint8_t* first = keyActionRecord(image, key0, 0);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first[0], kActionChar);
  EXPECT_EQ(first[1], 2);
  EXPECT_EQ(keyActionRecord(image, key0, 2), nullptr);

  const KeyRecord key1 = readKeyRecord(image, 1);
  EXPECT_EQ(key1.actionCount, 0);
  EXPECT_EQ(keyActionRecord(image, key1, 0), nullptr);
  EXPECT_EQ(readKeyRecord(image, 12).type, 0);
  EXPECT_EQ(readKeyRecord(image, -1).actionCount, 0);

  const uint8_t* exec = keyActionRecord(image, readKeyRecord(image, 11), 0);
  EXPECT_EQ(actionRecordSize(image, static_cast<uint32_t>(exec - bytes.data())), 2u + 15 + 3);
  EXPECT_TRUE(isInsideImage(image, exec));
  EXPECT_FALSE(isInsideImage(image, bytes.data() + bytes.size()));
}

TEST(KeymapImageTest, AnEmptyKeymapIsValid) {
  const Bytes bytes = buildImageBytes(TestKeymap{});
  EXPECT_EQ(bytes.size(), 96u);
  EXPECT_TRUE(isValidKeymapImage(bytes.data(), 96));
}

// Every corruption that could make a reader leave the block is refused.
TEST(KeymapImageTest, MalformedImagesAreRefused) {
  const Bytes good = buildImageBytes(sampleKeymap());
  struct Corruption {
    const char* what;
    void (*apply)(Bytes&);
  };
  const Corruption corruptions[] = {
      {"truncated key records", [](Bytes& b) { b.resize(95); }},
      {"char list cut short", [](Bytes& b) { b.resize(b.size() - 19); }},
      {"table entry past the end", [](Bytes& b) { writeU32(b.data() + 100, 5000); }},
      {"table entry inside the table", [](Bytes& b) { writeU32(b.data() + 100, 100); }},
      {"key run past the table", [](Bytes& b) { writeU16(b.data() + 2, 6); }},
      {"key run unaligned", [](Bytes& b) { writeU32(b.data() + 4, 99); }},
      {"char list without entries", [](Bytes& b) { b[readU32(b.data() + 100) + 1] = 0; }},
      {"raw count past the end", [](Bytes& b) { b[readU32(b.data() + 112) + 2] = 200; }},
      {"exec without its second NUL", [](Bytes& b) { b.back() = 'x'; }},
  };
  for (const Corruption& corruption : corruptions) {
    Bytes bad = good;
    corruption.apply(bad);
    EXPECT_FALSE(isValidKeymapImage(bad.data(), static_cast<uint32_t>(bad.size())))
        << corruption.what;
  }
  EXPECT_FALSE(isValidKeymapImage(nullptr, 96));
}

}  // namespace
