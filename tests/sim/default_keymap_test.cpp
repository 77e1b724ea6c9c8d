// The default keymap file itself: it compiles cleanly into exactly the slots
// the program uses, and the rotated-screen slot drives the cursor.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/sim/sim_fixture.h"

namespace {

TEST(DefaultKeymapTest, CompilesWithoutMessageIntoSlots0_2_4_5_6) {
  SimDevice device;
  SimSettings settings;
  settings.keymapPath = defaultKeymapFile();
  settings.options = kKanaToggleMode;
  EXPECT_TRUE(device.start(settings).empty());
  std::vector<int> filled;
  for (int slot = 0; slot < kKeymapSlots; ++slot) {
    if (device.engine().keymaps[slot].bytes != nullptr) filled.push_back(slot);
  }
  EXPECT_EQ(filled, (std::vector<int>{0, 2, 4, 5, 6}));
}

struct NavigationKey {
  char key;
  uint8_t vk;
};

TEST(DefaultKeymapTest, RotatedScreenSlotSendsOneCursorKeyPerPress) {
  const NavigationKey keys[] = {
      {'2', 0x26}, {'8', 0x28}, {'4', 0x25}, {'6', 0x27}, {'5', 0x0D}, {'1', 0x24},
      {'3', 0x21}, {'7', 0x23}, {'9', 0x22}, {'0', 0x20}, {'*', 0x1B},
  };
  for (const NavigationKey& key : keys) {
    SimDevice device;
    // Screen rotated, rotation behaviour 0: slot 6.
    startDevice(device, kKanaToggleMode, true, true);
    EXPECT_EQ(device.engine().activeKeymap, 6);
    std::vector<SimEvent> events;
    device.onInjected = [&events](const SimEvent& event) { events.push_back(event); };
    play(device, std::string(2, key.key));
    ASSERT_EQ(events.size(), 4u) << key.key;
    for (size_t i = 0; i < events.size(); ++i) {
      EXPECT_EQ(events[i].down, i % 2 == 0) << key.key;
      EXPECT_EQ(events[i].vk, key.vk) << key.key;
    }
    EXPECT_TRUE(device.postedCommands().empty());
  }
}

TEST(DefaultKeymapTest, RotatedScreenHashTurnsTheScreenBack) {
  SimDevice device;
  startDevice(device, kKanaToggleMode, true, true);
  play(device, "#");
  ASSERT_EQ(device.postedCommands().size(), 1u);
  EXPECT_EQ(device.postedCommands()[0].first, uint32_t{kCommandRotateScreen});
  EXPECT_EQ(device.postedCommands()[0].second, 0u);
  // Space and Enter reach the application.
  play(device, "0 5");
  EXPECT_EQ(device.text(), "　\n");
}

TEST(DefaultKeymapTest, KeypadKeysTypeTheirDigitsWithoutAnInputMode) {
  EXPECT_EQ(typed(kDefaultOptions, false, "12*0#"), "12*0#");
  EXPECT_EQ(typed(kDefaultOptions, true, "12"), "１２");
}

}  // namespace
