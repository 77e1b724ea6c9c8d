// The live mode's key mapping and its one-line view of the input state.
#include "sim/live_terminal.h"

#include <gtest/gtest.h>

#include "tests/sim/sim_fixture.h"

namespace {

TEST(LiveTerminalTest, TerminalKeysStandForKeypadAndClearKeys) {
  EXPECT_EQ(liveVirtualKey('5'), 0x35);
  EXPECT_EQ(liveVirtualKey('0'), 0x30);
  EXPECT_EQ(liveVirtualKey('*'), 0x77);
  EXPECT_EQ(liveVirtualKey('#'), 0x78);
  EXPECT_EQ(liveVirtualKey(0x7F), 0x08);
  EXPECT_EQ(liveVirtualKey('\r'), 0x0D);
  EXPECT_EQ(liveVirtualKey('a'), 0);
}

TEST(LiveTerminalTest, StateLineFollowsToggleFirstStrokeAndCharList) {
  SimDevice device;
  startDevice(device, kKanaToggleMode, true);
  EXPECT_EQ(describeInputState(device), "IME on  slot 4  toggle: -  first stroke: -  char list: -");
  play(device, "666");
  EXPECT_EQ(describeInputState(device),
            "IME on  slot 4  toggle: key 6 candidate 3  first stroke: -  char list: entry 1 of 3");
  play(device, "*");
  EXPECT_EQ(describeInputState(device),
            "IME on  slot 4  toggle: -  first stroke: -  char list: entry 2 of 3");

  SimDevice pager;
  startDevice(pager, kTwoTouchMode, false);
  play(pager, "0");
  EXPECT_EQ(describeInputState(pager), "IME off  slot 0  toggle: -  first stroke: 0  char list: -");
}

}  // namespace
