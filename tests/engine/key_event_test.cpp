#include "engine/key_event.h"

#include <gtest/gtest.h>

#include "tests/support/engine_fixture.h"

namespace {

class KeyEventTest : public EngineFixture {
 protected:
  void SetUp() override {
    EngineFixture::SetUp();
    engine.options = 0;
  }
  bool event(uint32_t vk, uint32_t message, bool own = false) {
    return handleKeyEvent(engine, {vk, message, 0, own});
  }
};

constexpr uint32_t kBothSwaps = kOptionSwapCtrlCaps | kOptionSwapEscHankaku;

struct SwapCase {
  uint32_t options;
  uint32_t vk;
  uint32_t message;
  bool swallowed;
  std::vector<KeyEvent> injected;
};

TEST_F(KeyEventTest, SwapTableByteForByte) {
  const SwapCase cases[] = {
      {kOptionSwapCtrlCaps, 0x11, 256, true, {down(0xF0)}},
      {kOptionSwapCtrlCaps, 0x11, 257, true, {up(0xF0)}},
      {kOptionSwapCtrlCaps, 0x14, 256, true, {down(0x11)}},
      {kOptionSwapCtrlCaps, 0xF0, 256, true, {down(0x11)}},
      {kOptionSwapCtrlCaps, 0xF0, 261, true, {up(0x11)}},
      {kOptionSwapCtrlCaps, 0x11, 260, true, {down(0xF0)}},  // system key replayed as plain
      {kOptionSwapCtrlCaps, 0x11, 258, false, {}},           // other messages pass
      {kOptionSwapCtrlCaps, 0x1B, 256, false, {}},           // Esc needs its own swap
      {kOptionSwapEscHankaku, 0x11, 256, false, {}},
      {kOptionSwapEscHankaku, 0x1B, 256, true, {down(0xF3)}},
      {kOptionSwapEscHankaku, 0xF3, 257, true, {up(0x1B)}},
      // Desktop keyboards: the real left and right Ctrl keys, and the
      // half-width key's other code.
      {kOptionSwapCtrlCaps, 0xA2, 256, true, {down(0xF0)}},
      {kOptionSwapCtrlCaps, 0xA3, 257, true, {up(0xF0)}},
      {kOptionSwapEscHankaku, 0xA2, 256, false, {}},
      {kOptionSwapEscHankaku, 0xF4, 256, true, {down(0x1B)}},
      {kBothSwaps, 0xF4, 257, true, {up(0x1B)}},
      {kOptionSwapCtrlCaps, 0xF4, 256, false, {}},
      {kBothSwaps, 0xA0, 256, false, {}},  // Shift is never swapped
      {0, 0x14, 256, false, {}},
  };
  for (const SwapCase& c : cases) {
    engine.options = c.options;
    EXPECT_EQ(event(c.vk, c.message), c.swallowed) << std::hex << c.vk << " " << c.message;
    EXPECT_EQ(output.take(), c.injected) << std::hex << c.vk << " " << c.message;
  }
}

// A release goes where its key-down went, even when the swap options change
// while the key is held: no key is left down.
TEST_F(KeyEventTest, ReleasesFollowTheirKeyDownWhateverTheOptionsSayByThen) {
  engine.options = kOptionSwapCtrlCaps;
  EXPECT_TRUE(event(0x14, 256));
  EXPECT_EQ(engine.heldModifiers, uint32_t{kHeldCtrl});
  engine.options = 0;
  EXPECT_TRUE(event(0x14, 257));
  EXPECT_EQ(output.take(), (std::vector<KeyEvent>{down(0x11), up(0x11)}));
  EXPECT_EQ(engine.heldModifiers, 0u);

  EXPECT_FALSE(event(0x1B, 256));
  engine.options = kOptionSwapEscHankaku;
  EXPECT_FALSE(event(0x1B, 257));
  EXPECT_TRUE(output.events.empty());
  EXPECT_TRUE(event(0x1B, 256));
  EXPECT_TRUE(event(0x1B, 257));
  EXPECT_EQ(output.take(), (std::vector<KeyEvent>{down(0xF3), up(0xF3)}));

  // Swapped, then passed as a repeat once the swap is off: the release
  // frees both.
  engine.options = kOptionSwapCtrlCaps;
  EXPECT_TRUE(event(0x14, 256));
  engine.options = 0;
  EXPECT_FALSE(event(0x14, 256));
  EXPECT_FALSE(event(0x14, 257));
  EXPECT_EQ(output.take(), (std::vector<KeyEvent>{down(0x11), up(0x11)}));
  EXPECT_EQ(engine.heldModifiers, 0u);
}

TEST_F(KeyEventTest, OwnEventsPassWhateverTheOptions) {
  for (uint32_t options : {0u, kBothSwaps, kBothSwaps | kOptionKanaToggle,
                           kBothSwaps | kOptionKanaToggle | kOptionTwoTouch}) {
    engine.options = options;
    for (uint32_t vk : {0x11u, 0x14u, 0x1Bu, 0x31u, 0x08u}) {
      EXPECT_FALSE(event(vk, 256, true));
    }
  }
  EXPECT_TRUE(output.events.empty());
}

TEST_F(KeyEventTest, VirtualKeysBeyondTheTablesPassUntouched) {
  engine.options = kBothSwaps | kOptionKanaToggle;
  for (uint32_t vk : {0x100u, 0x111u, 0x131u, 0xFFFFFFFFu}) EXPECT_FALSE(event(vk, 256));
  EXPECT_TRUE(output.events.empty());
}

TEST_F(KeyEventTest, SwapsStillApplyWhenTheDispatcherPasses) {
  engine.options = kOptionKanaToggle | kOptionSwapCtrlCaps;
  EXPECT_TRUE(event(0x14, 256));
  EXPECT_EQ(output.take(), std::vector<KeyEvent>{down(0x11)});
}

TEST_F(KeyEventTest, ChordsSendTheirEventsInOrder) {
  tapBackspace(engine);
  EXPECT_EQ(output.take(), (std::vector<KeyEvent>{down(0x08), up(0x08)}));
  imeToggleChord(engine);
  EXPECT_EQ(output.take(), (std::vector<KeyEvent>{down(0xA4), down(0x19), up(0x19), up(0xA4)}));
  // A swapped key's message that is neither a press nor a release replays
  // nothing.
  engine.options = kOptionSwapCtrlCaps;
  EXPECT_FALSE(event(kVkControl, 0));
  EXPECT_TRUE(output.events.empty());
}

TEST_F(KeyEventTest, SwitchImeOpensWithHiraganaAndCloses) {
  ime.open = false;
  switchIme(engine);
  EXPECT_TRUE(ime.open);
  EXPECT_EQ(ime.calls, (std::vector<std::string>{"open", "mode 25 0"}));
  EXPECT_EQ(engine.imeStatus & 1, 1u);
  ime.calls.clear();
  switchIme(engine);
  EXPECT_FALSE(ime.open);
  EXPECT_EQ(ime.calls, std::vector<std::string>{"close"});
  EXPECT_EQ(engine.imeStatus & 1, 0u);
}

TEST_F(KeyEventTest, RefreshImeStatusFollowsTheIme) {
  engine.imeStatus = 0x6;
  ime.open = true;
  refreshImeStatus(engine);
  EXPECT_EQ(engine.imeStatus, 0x7u);
  ime.open = false;
  refreshImeStatus(engine);
  EXPECT_EQ(engine.imeStatus, 0x6u);
}

TEST_F(KeyEventTest, WithoutPlatformConnectionsNothingBreaks) {
  engine.keyOutput = nullptr;
  engine.imeControl = nullptr;
  engine.options = kOptionSwapCtrlCaps;
  EXPECT_TRUE(event(0x11, 256));
  switchIme(engine);  // reads as closed, so it records the requested open state
  EXPECT_EQ(engine.imeStatus & 1, 1u);
}

}  // namespace
