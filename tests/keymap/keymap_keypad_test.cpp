// A keymap compiled from text drives the keypad through handleKeyEvent.
#include <gtest/gtest.h>

#include "engine/key_event.h"
#include "tests/keymap/keymap_load.h"
#include "tests/support/test_doubles.h"

namespace {

using Events = std::vector<KeyEvent>;

TEST(KeymapKeypadTest, CompiledToggleKeyCyclesThroughItsActions) {
  KeymapLoad load;
  RecordingKeyOutput output;
  ScriptedIme ime;
  load.engine.keyOutput = &output;
  load.engine.imeControl = &ime;
  const std::string text =
      "defcode TOGGLE '\\x02'\n"
      "defcode DIRECT '\\x08'\n"
      "keymap\n"
      "key TOGGLE\n"
      "char DIRECT A\n"
      "char DIRECT B\n"
      "key TOGGLE\n"
      "raw '\\x01' Z '\\x02' Z\n" +
      keys(10, "nop\n", "TOGGLE");
  ASSERT_TRUE(load.load(text).empty());
  load.engine.options = kOptionTwoTouch;
  load.engine.activeKeymap = 0;

  auto press = [&](int column, uint32_t time) {
    EXPECT_TRUE(handleKeyEvent(load.engine, {kKeypadVk[column], kMessageKeyDown, time}));
    handleKeyEvent(load.engine, {kKeypadVk[column], kMessageKeyUp, time});
    return output.take();
  };
  const Events back = {down(kVkBack), up(kVkBack)};
  auto after = [](Events first, const Events& then) {
    first.insert(first.end(), then.begin(), then.end());
    return first;
  };
  EXPECT_EQ(press(0, 100), taps("A"));
  EXPECT_EQ(press(0, 200), after(back, taps("B")));
  EXPECT_EQ(press(0, 300), after(back, taps("A")));
  EXPECT_EQ(press(1, 400), (Events{down('Z'), up('Z')}));
}

}  // namespace
