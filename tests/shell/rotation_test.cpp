// Screen rotation: the rotated bit, the keymap slot and the hook by rotation
// behaviour, and the orientation arithmetic of rotateScreen.
#include "shell/rotation.h"

#include <vector>

#include "shell/display_orientation.h"
#include "shell/key_hook.h"
#include "shell/resource_ids.h"
#include "tests/shell/app_test_support.h"

namespace {

struct FakeOrientation final : DisplayOrientation {
  uint32_t current = kOrientation0;
  std::vector<uint32_t> set;
  uint32_t readOrientation() override { return current; }
  void setOrientation(uint32_t orientation) override {
    set.push_back(orientation);
    current = orientation;
  }
};

class RotationTest : public ShellAppTest {
 protected:
  void SetUp() override {
    ShellAppTest::SetUp();
    useDisplayOrientation(&display);
  }
  void setBehaviour(uint32_t behaviour) {
    shellState.engine.options = (shellState.engine.options & ~uint32_t{kOptionRotationMask}) |
                                rotationBehaviourBits(behaviour);
  }
  void turnTo(uint32_t orientation) {
    display.current = orientation;
    checkRotation();
  }
  bool rotated() const { return shellState.engine.screenRotated; }

  FakeOrientation display;
};

TEST_F(RotationTest, OnlyNinetyDegreesCountsAsRotated) {
  const struct {
    uint32_t orientation;
    bool rotated;
  } cases[] = {{kOrientation0, false},
               {kOrientation90, true},
               {kOrientation180, false},
               {kOrientation270, false}};
  for (const auto& c : cases) {
    turnTo(c.orientation);
    EXPECT_EQ(rotated(), c.rotated) << c.orientation;
  }
}

TEST_F(RotationTest, BehaviourZeroUsesSlotSixWhileTurned) {
  shellState.engine.options |= kOptionKanaToggle;
  setBehaviour(0);
  turnTo(kOrientation90);
  EXPECT_EQ(shellState.engine.activeKeymap, 6);
  turnTo(kOrientation0);
  EXPECT_EQ(shellState.engine.activeKeymap, 4);
}

TEST_F(RotationTest, BehaviourOneReleasesAndReinstallsTheHook) {
  shellState.engine.options |= kOptionKanaToggle;
  setBehaviour(1);
  ASSERT_TRUE(installKeyHook(false));
  turnTo(kOrientation90);
  EXPECT_EQ(shellState.hookHandle, nullptr);
  EXPECT_EQ(shellState.watcherHandle, nullptr);
  EXPECT_EQ(shellState.engine.activeKeymap, 4);  // the mode's slot
  turnTo(kOrientation0);
  EXPECT_NE(shellState.hookHandle, nullptr);
  EXPECT_EQ(shellState.engine.activeKeymap, 4);
}

TEST_F(RotationTest, BehaviourTwoSwitchesKeymapsOff) {
  shellState.engine.options |= kOptionTwoTouch;
  setBehaviour(2);
  turnTo(kOrientation90);
  EXPECT_EQ(shellState.engine.activeKeymap, kNoKeymap);
  turnTo(kOrientation0);
  EXPECT_EQ(shellState.engine.activeKeymap, 0);
  shellState.engine.options |= kOptionNicoTouch;
  turnTo(kOrientation90);
  turnTo(kOrientation0);
  EXPECT_EQ(shellState.engine.activeKeymap, 2);
}

TEST_F(RotationTest, BehaviourThreeChangesNeitherSlotNorHook) {
  shellState.engine.options |= kOptionTwoTouch;
  setBehaviour(3);
  ASSERT_TRUE(installKeyHook(false));
  HHOOK hook = shellState.hookHandle;
  turnTo(kOrientation90);
  EXPECT_TRUE(rotated());
  EXPECT_EQ(shellState.engine.activeKeymap, 0);
  EXPECT_EQ(shellState.hookHandle, hook);
}

TEST_F(RotationTest, HookLeftAloneByOtherBehaviours) {
  for (uint32_t behaviour : {0u, 2u, 3u}) {
    setBehaviour(behaviour);
    turnTo(kOrientation0);
    EXPECT_EQ(shellState.hookHandle, nullptr) << behaviour;  // not installed
    ASSERT_TRUE(installKeyHook(false));
    turnTo(kOrientation90);
    EXPECT_NE(shellState.hookHandle, nullptr) << behaviour;  // not removed
    removeKeyHook();
  }
}

TEST_F(RotationTest, LeavingBehaviourOneWhileTurnedBringsTheHookBack) {
  setBehaviour(1);
  ASSERT_TRUE(installKeyHook(false));
  turnTo(kOrientation90);
  ASSERT_EQ(shellState.hookHandle, nullptr);
  HWND advanced = openAdvancedDialog();
  ASSERT_NE(advanced, nullptr);
  for (int behaviour : {0, 2, 3}) {
    SendDlgItemMessageW(advanced, IDC_ROTATION_BEHAVIOUR, CB_SETCURSEL, behaviour, 0);
    sendCommand(advanced, IDC_ROTATION_BEHAVIOUR, CBN_SELCHANGE);
    EXPECT_NE(shellState.hookHandle, nullptr) << behaviour;
    // Back to behaviour 1: released again only at the next announcement.
    SendDlgItemMessageW(advanced, IDC_ROTATION_BEHAVIOUR, CB_SETCURSEL, 1, 0);
    sendCommand(advanced, IDC_ROTATION_BEHAVIOUR, CBN_SELCHANGE);
    EXPECT_NE(shellState.hookHandle, nullptr) << behaviour;
    checkRotation();
    EXPECT_EQ(shellState.hookHandle, nullptr) << behaviour;
  }
}

TEST_F(RotationTest, AnyAnnouncementResetsTheInputState) {
  shellState.engine.options |= kOptionKanaToggle;
  shellState.engine.toggleKey = keyCodeOf(1);
  shellState.engine.firstStroke = keyCodeOf(2);
  checkRotation();
  EXPECT_EQ(shellState.engine.toggleKey, 0);
  EXPECT_EQ(shellState.engine.firstStroke, 0);
}

TEST_F(RotationTest, RotateScreenSetsTheRequestedOrQuarterTurn) {
  const struct {
    int step;
    uint32_t current;
    uint32_t expected;
  } cases[] = {
      {0, kOrientation90, kOrientation0},    {1, kOrientation0, kOrientation90},
      {2, kOrientation0, kOrientation180},   {3, kOrientation0, kOrientation270},
      {7, kOrientation0, kOrientation90},    {7, kOrientation90, kOrientation180},
      {7, kOrientation180, kOrientation270}, {7, kOrientation270, kOrientation0},
      {4, kOrientation0, kOrientation90},    {255, kOrientation270, kOrientation0},
  };
  for (const auto& c : cases) {
    display.current = c.current;
    display.set.clear();
    rotateScreen(c.step);
    ASSERT_EQ(display.set.size(), 1u) << c.step;
    EXPECT_EQ(display.set[0], c.expected) << "step " << c.step << " from " << c.current;
  }
  // Turning the screen leaves the state to the next announcement.
  EXPECT_FALSE(rotated());
}

TEST(DesktopOrientationTest, TranslatesTheDesktopNumbering) {
  EXPECT_EQ(orientationFromDesktop(0), kOrientation0);
  EXPECT_EQ(orientationFromDesktop(1), kOrientation90);
  EXPECT_EQ(orientationFromDesktop(2), kOrientation180);
  EXPECT_EQ(orientationFromDesktop(3), kOrientation270);  // not bit 0: not rotated
  EXPECT_EQ(orientationFromDesktop(7), kOrientation0);
  uint32_t desktop = 99;
  for (const auto& pair : {std::pair<uint32_t, uint32_t>{kOrientation0, 0},
                           {kOrientation90, 1},
                           {kOrientation180, 2},
                           {kOrientation270, 3}}) {
    ASSERT_TRUE(orientationToDesktop(pair.first, desktop));
    EXPECT_EQ(desktop, pair.second);
  }
  EXPECT_FALSE(orientationToDesktop(3, desktop));
  EXPECT_FALSE(orientationToDesktop(8, desktop));
}

TEST(DesktopOrientationTest, PlatformReadingGivesAProgramValue) {
  useDisplayOrientation(nullptr);
  const uint32_t value = displayOrientation().readOrientation();
  EXPECT_TRUE(value == kOrientation0 || value == kOrientation90 || value == kOrientation180 ||
              value == kOrientation270)
      << value;
}

}  // namespace
