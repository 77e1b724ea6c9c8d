// The default keymap file itself: it compiles cleanly into exactly the slots
// the program uses, and the rotated-screen slot drives the cursor.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/sim/sim_fixture.h"

namespace {

TEST(DefaultKeymapTest, CompilesWithoutMessageIntoTheProgramsSlots) {
  SimDevice device;
  SimSettings settings;
  settings.keymapPath = defaultKeymapFile();
  settings.options = kKanaToggleMode;
  EXPECT_TRUE(device.start(settings).empty());
  std::vector<int> filled;
  for (int slot = 0; slot < kKeymapSlots; ++slot) {
    if (device.engine().keymaps[slot].bytes != nullptr) filled.push_back(slot);
  }
  EXPECT_EQ(filled, (std::vector<int>{kSlotTwoTouch, kSlotNicoTouch, kSlotKana, kSlotAlphanumeric,
                                      kSlotRotated}));
}

struct NavigationKey {
  char key;
  const char* sent;  // the key it sends, by name
};

TEST(DefaultKeymapTest, RotatedScreenSlotSendsOneCursorKeyPerPress) {
  const NavigationKey keys[] = {
      {'2', "Up"},       {'8', "Down"},  {'4', "Left"},   {'6', "Right"},
      {'5', "Enter"},    {'1', "Home"},  {'3', "PageUp"}, {'7', "End"},
      {'9', "PageDown"}, {'0', "Space"}, {'*', "Esc"},
  };
  for (const NavigationKey& key : keys) {
    SimDevice device;
    // Screen rotated, rotation behaviour 0.
    startDevice(device, kKanaToggleMode, true, true);
    EXPECT_EQ(device.engine().activeKeymap, kSlotRotated);
    std::vector<SimEvent> events;
    device.onInjected = [&events](const SimEvent& event) { events.push_back(event); };
    play(device, std::string(2, key.key));
    const std::string name = key.sent;
    EXPECT_EQ(describe(events), "+" + name + " -" + name + " +" + name + " -" + name) << key.key;
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
