#include "engine/toggle_input.h"

#include "engine/kana_table.h"
#include "tests/engine/keypad_fixture.h"

namespace {

using Events = std::vector<KeyEvent>;

Events tapped(char c) {
  return taps(std::string(1, c));
}

// Column 1 toggles a, b, c; the other columns exercise the other key types.
TestKeymap toggleKeymap() {
  TestKeymap keymap;
  keymap.keys[0] = keyOf(kKeyTypeToggle, {letter('X')});
  keymap.keys[1] = keyOf(kKeyTypeToggle, {letter('A'), letter('B'), letter('C')});
  keymap.keys[2] = keyOf(kKeyTypeToggle, {letter('D'), letter('E')});
  keymap.keys[3] = keyOf(kKeyTypeReverseToggle, {letter('R'), letter('S')});
  keymap.keys[4] = keyOf(kKeyTypeNextEntry, {letter('N'), letter('O')});
  keymap.keys[5] = keyOf(kKeyTypePreviousEntry, {letter('P'), letter('Q')});
  keymap.keys[6] = keyOf(kKeyTypeReverseOrPair, rowOfTwelve('M'));
  keymap.keys[7] = keyOf(kKeyTypeNextOrPair, rowOfTwelve('A'));
  keymap.keys[8] = keyOf(kKeyTypeToggle, {});
  keymap.keys[9] = keyOf(kKeyTypeToggle, {charAction({{8, 'F'}, {8, 'G'}, {8, 'H'}})});
  keymap.keys[10] = keyOf(kKeyTypeToggle, {charAction({{1, '3'}, {3, '3'}})});
  keymap.keys[11] = keyOf(kKeyTypeToggle, {rawAction({1, 'Z', 2, 'Z'})});
  return keymap;
}

class ToggleTest : public KeypadFixture {
 protected:
  void SetUp() override {
    KeypadFixture::SetUp();
    useSlotZero(toggleKeymap(), kOptionAutoAdvance);
  }
};

}  // namespace

TEST_F(ToggleTest, SameKeyCyclesAndTheTimeoutStartsANewCharacter) {
  press(1, 0);
  EXPECT_EQ(output.take(), tapped('A'));
  EXPECT_EQ(pressed(1, 100), backspaceThen(tapped('B')));
  EXPECT_EQ(pressed(1, 200), backspaceThen(tapped('C')));
  EXPECT_EQ(pressed(1, 300), backspaceThen(tapped('A')));
  EXPECT_EQ(engine.toggleKey, keyCodeOf(1));
  EXPECT_EQ(engine.toggleIndex, 0);
  EXPECT_EQ(engine.lastKeyTime, 300u);
  // 1100 ms later: a new character, without back-space.
  EXPECT_EQ(pressed(1, 1400), tapped('A'));
  EXPECT_EQ(engine.toggleIndex, 0);
}

TEST_F(ToggleTest, ExpiryStartsExactlyAtTheTimeout) {
  press(1, 5000);
  output.take();
  EXPECT_EQ(pressed(1, 5999), backspaceThen(tapped('B')));  // 999 ms: still cycling
  EXPECT_EQ(pressed(1, 6999), tapped('A'));                 // 1000 ms: expired
}

TEST_F(ToggleTest, ClockGoingBackExpiresButAWrappingClockDoesNot) {
  press(1, 5000);
  output.take();
  EXPECT_EQ(pressed(1, 4000), tapped('A'));  // negative elapsed time
  press(1, 0xFFFFFF00u);
  output.take();
  // 0x110 ms later across the 32-bit wrap: within the timeout.
  EXPECT_EQ(pressed(1, 0x10), backspaceThen(tapped('B')));
}

TEST_F(ToggleTest, ATimeoutOfZeroOrBelowExpiresEveryPress) {
  for (int32_t timeout : {0, -1, INT32_MIN}) {
    engine.timeoutMs = timeout;
    press(2, 100);
    output.take();
    EXPECT_EQ(pressed(2, 100), tapped('D')) << timeout;
  }
}

TEST_F(ToggleTest, WithoutAutoAdvanceTimeDoesNotMatter) {
  engine.options &= ~kOptionAutoAdvance;
  engine.timeoutMs = 1000;
  press(1, 0);
  output.take();
  EXPECT_EQ(pressed(1, 10000), backspaceThen(tapped('B')));
  EXPECT_EQ(pressed(1, 5), backspaceThen(tapped('C')));  // even with the clock going back
}

TEST_F(ToggleTest, AnotherKeyInBetweenEndsTheToggle) {
  press(1, 0);
  press(1, 50);
  output.take();
  EXPECT_EQ(pressed(2, 100), tapped('D'));
  EXPECT_EQ(engine.toggleKey, keyCodeOf(2));
  EXPECT_EQ(pressed(1, 200), tapped('A'));
  EXPECT_EQ(engine.toggleIndex, 0);
}

TEST_F(ToggleTest, AOneActionKeyRetypesItsActionWithoutBackspace) {
  for (uint32_t t : {0u, 10u, 20u}) {
    EXPECT_EQ(pressed(0, t), tapped('X'));
    EXPECT_EQ(engine.toggleKey, keyCodeOf(0));
    EXPECT_EQ(engine.toggleIndex, 0);
  }
}

TEST_F(ToggleTest, AKeyWithoutActionsTypesNothingAndEndsTheToggle) {
  press(1, 0);
  press(1, 100);
  output.take();
  EXPECT_TRUE(press(8, 200));
  EXPECT_TRUE(output.take().empty());
  EXPECT_EQ(engine.toggleKey, 0);
  EXPECT_EQ(engine.toggleIndex, 0);
  EXPECT_EQ(engine.lastKeyTime, 100u);
  EXPECT_EQ(engine.activeCharList, nullptr);
}

// A toggle candidate that switches the keymap leaves no toggle behind: the
// same column of the new keymap starts afresh instead of erasing a
// character the user typed.
TEST_F(ToggleTest, AKeymapSwitchLeavesNoToggleBehind) {
  for (const Bytes& command : {commandAction(kKeymapCommandPartnerKeymap, 0),
                               commandAction(kKeymapCommandSelectKeymap, 1)}) {
    TestKeymap switching = toggleKeymap();
    switching.keys[1] = keyOf(kKeyTypeToggle, {command, letter('Q')});
    installTestKeymap(engine, 0, switching);
    installTestKeymap(engine, 1, toggleKeymap());
    engine.activeKeymap = 0;
    resetInputState(engine);
    EXPECT_EQ(pressed(1, 0), Events{});
    EXPECT_EQ(engine.activeKeymap, 1);
    EXPECT_EQ(engine.toggleKey, 0);
    EXPECT_EQ(pressed(1, 10), tapped('A')) << int(commandNumber(command.data()));
  }
}

TEST_F(ToggleTest, ReverseToggleStepsBackWithWrapAndForwardContinues) {
  press(1, 0);
  press(1, 100);
  press(1, 200);
  output.take();
  ASSERT_EQ(engine.toggleIndex, 2);
  EXPECT_EQ(pressed(3, 300), backspaceThen(tapped('B')));
  EXPECT_EQ(pressed(3, 400), backspaceThen(tapped('A')));
  EXPECT_EQ(pressed(3, 500), backspaceThen(tapped('C')));
  EXPECT_EQ(engine.toggleKey, keyCodeOf(1));
  EXPECT_EQ(engine.lastKeyTime, 500u);
  EXPECT_EQ(pressed(1, 600), backspaceThen(tapped('A')));  // forward from c
}

TEST_F(ToggleTest, ReverseToggleWithNothingToStepFallsBack) {
  // No running toggle: a type-3 key toggles its own actions.
  EXPECT_EQ(pressed(3, 0), tapped('R'));
  EXPECT_EQ(engine.toggleKey, keyCodeOf(3));
  // A type-6 key begins a pair instead, typing nothing.
  resetInputState(engine);
  EXPECT_EQ(pressed(6, 100), Events{});
  EXPECT_EQ(engine.firstStroke, keyCodeOf(6));
  EXPECT_EQ(engine.toggleKey, 0);
  EXPECT_EQ(engine.lastKeyTime, 0u);        // beginning a pair keeps the time
  EXPECT_EQ(pressed(4, 200), tapped('Q'));  // action 4 of the row M..X
  EXPECT_EQ(engine.firstStroke, 0);
  // The toggled key has a single action: nothing to step back to.
  press(0, 300);
  output.take();
  EXPECT_EQ(pressed(3, 400), tapped('R'));
}

TEST_F(ToggleTest, ReverseToggleHonoursTheTimeoutOnlyWithBothOptions) {
  press(1, 0);
  output.take();
  EXPECT_EQ(pressed(3, 2000), backspaceThen(tapped('C')));  // 0x80 alone: still steps
  engine.options |= kOptionAdvanceAfterStep;
  press(1, 3000);
  output.take();
  EXPECT_EQ(pressed(3, 5000), tapped('R'));  // expired: toggles its own actions
  EXPECT_EQ(engine.toggleKey, keyCodeOf(3));
}

// After a reload the toggled key may have fewer actions than the index that
// was reached. Forward wraps to its first action; back picks its last one,
// never an action of the next key in the table.
TEST_F(ToggleTest, StepsAfterAReloadStayInsideTheToggledKeysActions) {
  TestKeymap longer = toggleKeymap();
  longer.keys[1] =
      keyOf(kKeyTypeToggle, {letter('A'), letter('B'), letter('C'), letter('D'), letter('E')});
  TestKeymap shorter = toggleKeymap();
  shorter.keys[1] = keyOf(kKeyTypeToggle, {letter('F'), letter('G'), letter('H')});

  installTestKeymap(engine, 0, longer);
  for (uint32_t t = 0; t < 5; ++t) press(1, t);
  output.take();
  ASSERT_EQ(engine.toggleIndex, 4);
  installTestKeymap(engine, 0, shorter);
  EXPECT_EQ(pressed(3, 10), backspaceThen(tapped('H')));
  EXPECT_EQ(engine.toggleIndex, 2);
  EXPECT_EQ(pressed(3, 11), backspaceThen(tapped('G')));

  installTestKeymap(engine, 0, longer);
  resetInputState(engine);
  for (uint32_t t = 20; t < 25; ++t) press(1, t);
  output.take();
  ASSERT_EQ(engine.toggleIndex, 4);
  installTestKeymap(engine, 0, shorter);
  EXPECT_EQ(pressed(1, 30), backspaceThen(tapped('F')));
  EXPECT_EQ(engine.toggleIndex, 0);

  // Index exactly one past the new end: one step back is the last action.
  installTestKeymap(engine, 0, longer);
  resetInputState(engine);
  for (uint32_t t = 40; t < 44; ++t) press(1, t);
  output.take();
  ASSERT_EQ(engine.toggleIndex, 3);
  installTestKeymap(engine, 0, shorter);
  EXPECT_EQ(pressed(3, 50), backspaceThen(tapped('H')));
}

TEST_F(ToggleTest, ReloadingTheKeymapsWhileAListIsActiveForgetsTheList) {
  press(9, 0);
  ASSERT_NE(engine.activeCharList, nullptr);
  installTestKeymap(engine, 0, toggleKeymap());
  EXPECT_EQ(engine.activeCharList, nullptr);
  output.take();
  EXPECT_EQ(pressed(4, 10), tapped('N'));  // nothing left to convert
}

TEST_F(ToggleTest, PostConversionStepsThroughTheListTypedLast) {
  press(9, 0);
  EXPECT_EQ(output.take(), tapped('F'));
  EXPECT_EQ(engine.toggleKey, keyCodeOf(9));
  EXPECT_EQ(pressed(4, 30), backspaceThen(tapped('G')));
  EXPECT_EQ(engine.charIndex, 1);
  EXPECT_EQ(engine.toggleKey, 0);  // a successful step ends the toggle
  EXPECT_EQ(engine.lastKeyTime, 30u);
  EXPECT_EQ(pressed(4, 40), backspaceThen(tapped('H')));
  EXPECT_EQ(pressed(4, 50), backspaceThen(tapped('F')));  // wrap
  EXPECT_EQ(pressed(5, 60), backspaceThen(tapped('H')));  // back from entry 0
  EXPECT_EQ(pressed(5, 70), backspaceThen(tapped('G')));
}

TEST_F(ToggleTest, PostConversionOfAKanaAndItsSmallForm) {
  press(10, 0);
  EXPECT_EQ(output.take(), tapped('A'));
  EXPECT_EQ(pressed(4, 10), backspaceThen(taps("XA")));
  EXPECT_EQ(pressed(4, 20), backspaceThen(tapped('A')));
  EXPECT_EQ(pressed(5, 30), backspaceThen(taps("XA")));
}

TEST_F(ToggleTest, PostConversionExpiresOnlyWithBothOptions) {
  press(9, 0);
  output.take();
  EXPECT_EQ(pressed(4, 2000), backspaceThen(tapped('G')));  // 0x80 alone
  engine.options |= kOptionAdvanceAfterStep;
  EXPECT_EQ(pressed(5, 2999), backspaceThen(tapped('F')));  // within the timeout
  EXPECT_EQ(pressed(4, 3999), tapped('N'));                 // expired: own toggle
  EXPECT_EQ(engine.toggleKey, keyCodeOf(4));
  EXPECT_EQ(engine.charIndex, 0);
  // The previous-entry key closes the expired list too.
  press(9, 5000);
  output.take();
  EXPECT_EQ(pressed(5, 7000), tapped('P'));
  EXPECT_EQ(engine.toggleKey, keyCodeOf(5));
}

TEST_F(ToggleTest, PostConversionWithoutAListToStepFallsBack) {
  press(1, 0);  // one-entry list
  output.take();
  EXPECT_EQ(pressed(4, 10), tapped('N'));
  EXPECT_EQ(pressed(4, 20), backspaceThen(tapped('O')));  // now toggling key 4 itself
  press(11, 30);                                          // raw action closes the list
  EXPECT_EQ(output.take(), (Events{down('Z'), up('Z')}));
  EXPECT_EQ(pressed(5, 40), tapped('P'));
  press(1, 50);
  output.take();
  EXPECT_EQ(pressed(7, 60), Events{});  // type 7 begins a pair instead
  EXPECT_EQ(engine.firstStroke, keyCodeOf(7));
  EXPECT_EQ(pressed(2, 70), tapped('C'));
  // So does type 8.
  TestKeymap previousOrPair = toggleKeymap();
  previousOrPair.keys[7].type = kKeyTypePreviousOrPair;
  installTestKeymap(engine, 0, previousOrPair);
  press(1, 80);
  output.take();
  EXPECT_EQ(pressed(7, 90), Events{});
  EXPECT_EQ(engine.firstStroke, keyCodeOf(7));
  EXPECT_EQ(pressed(2, 100), tapped('C'));
}

TEST_F(ToggleTest, KeysOfTypeZeroAndNineOrAboveDoNothing) {
  for (uint16_t type : {0, 9, 10, 65535}) {
    TestKeymap keymap = toggleKeymap();
    keymap.keys[0] = keyOf(type, {letter('X'), letter('Y')});
    installTestKeymap(engine, 0, keymap);
    resetInputState(engine);
    press(1, 100);
    press(1, 150);
    output.take();
    const uint8_t* list = engine.activeCharList;
    EXPECT_TRUE(press(0, 200)) << type;
    EXPECT_TRUE(output.take().empty()) << type;
    EXPECT_EQ(engine.toggleKey, keyCodeOf(1));
    EXPECT_EQ(engine.toggleIndex, 1);
    EXPECT_EQ(engine.lastKeyTime, 150u);
    EXPECT_EQ(engine.activeCharList, list);
    EXPECT_EQ(engine.firstStroke, 0);
    EXPECT_EQ(pressed(1, 250), backspaceThen(tapped('C'))) << type;
  }
}

// A ゛ or ゜ candidate replaces the kana typed before it, which is erased
// exactly once: by the mark itself on a fresh key, by the toggle or
// post-conversion step when that step already erased a candidate. A key
// typed in between, also with the input mode off, makes the text before the
// cursor the user's: the mark then rewrites nothing.
TEST_F(ToggleTest, MarkCandidatesEraseTheKanaTheyRewriteExactlyOnce) {
  TestKeymap keymap = toggleKeymap();
  keymap.keys[2] = keyOf(kKeyTypeToggle, {charAction({{1, 'T'}, {1, kVkDakuten}})});
  keymap.keys[3] =
      keyOf(kKeyTypeToggle, {charAction({{1, kVkDakuten}}), charAction({{1, kVkHandakuten}})});
  for (uint32_t mode : {uint32_t{kOptionKanaToggle}, uint32_t{kOptionTwoTouch}}) {
    for (uint32_t slot : {0u, 4u, 5u}) installTestKeymap(engine, slot, keymap);
    engine.options = mode;
    engine.activeKeymap = 0;
    resetInputState(engine);
    SCOPED_TRACE(mode);
    EXPECT_EQ(pressed(2, 0), taps("KA"));
    EXPECT_EQ(pressed(3, 10), backspaceThen(taps("GA")));  // a fresh key: か erased here
    EXPECT_EQ(pressed(3, 20), backspaceThen(taps("KA")));  // the toggle step erased が
    EXPECT_EQ(pressed(2, 30), taps("KA"));
    EXPECT_EQ(pressed(4, 40), backspaceThen(taps("GA")));  // post-conversion erased か
    EXPECT_EQ(pressed(2, 50), taps("KA"));
    engine.options = 0;
    EXPECT_FALSE(event('A', kMessageKeyDown, 60));
    EXPECT_FALSE(event('A', kMessageKeyUp, 60));
    engine.options = mode;
    EXPECT_EQ(pressed(3, 70), taps("D"));  // no kana before it: its own letter
  }
}

// A candidate that typed nothing leaves the text before it the user's: the
// step after it, forward or back, sends no back-space. Neither does a mark
// after it find a kana to rewrite, even when the step before erased one.
TEST_F(ToggleTest, StepsAfterACandidateThatTypedNothingEraseNothing) {
  const Events chord = {down(0xA4), down(0x19), up(0x19), up(0xA4)};
  struct Case {
    Bytes silent;
    Events sent;
  };
  const Case cases[] = {
      {nopAction(), {}},
      {commandAction(kKeymapCommandImeOnOff, 0), chord},
      {commandAction(kKeymapCommandNextEntry, 0), {}},
      {commandAction(kKeymapCommandRotateScreen, 0), {}},
      {execAction("\\Windows\\calc.exe", ""), {}},
      {rawAction({}), {}},
      {rawAction({kRawRelease, 'Z'}), {up('Z')}},
  };
  for (const Case& c : cases) {
    TestKeymap keymap = toggleKeymap();
    keymap.keys[1] = keyOf(kKeyTypeToggle, {c.silent, letter('B')});
    keymap.keys[2] = keyOf(kKeyTypeToggle, {charAction({{1, 'T'}}), c.silent});
    keymap.keys[5] = keyOf(kKeyTypeToggle, {charAction({{1, kVkDakuten}})});
    installTestKeymap(engine, 0, keymap);
    resetInputState(engine);
    SCOPED_TRACE(describe(c.sent) + " kind " + std::to_string(c.silent[0]));
    EXPECT_EQ(pressed(1, 0), c.sent);
    EXPECT_EQ(pressed(1, 10), tapped('B'));
    EXPECT_EQ(pressed(1, 20), backspaceThen(c.sent));
    EXPECT_EQ(pressed(1, 30), tapped('B'));
    EXPECT_EQ(pressed(3, 40), backspaceThen(c.sent));  // reverse toggle
    EXPECT_EQ(pressed(3, 50), tapped('B'));
    EXPECT_EQ(pressed(2, 60), taps("KA"));
    EXPECT_EQ(pressed(2, 70), backspaceThen(c.sent));
    EXPECT_EQ(pressed(5, 80), taps("D"));  // か is gone: nothing to rewrite
  }
}

TEST_F(ToggleTest, ClosingAListAwayFromALetterLatchesCapsLock) {
  engine.options |= kOptionAutoCapsLock;
  press(9, 0);
  press(4, 10);  // now at entry 'G', a letter
  output.take();
  EXPECT_EQ(pressed(1, 20), (Events{down(kVkCapital), up(kVkCapital), down('A'), up('A')}));
  EXPECT_FALSE(engine.capsLockPending);
}

class TwoTouchTest : public KeypadFixture {
 protected:
  void SetUp() override {
    KeypadFixture::SetUp();
    TestKeymap keymap;
    keymap.keys[0] = keyOf(kKeyTypeBell, rowOfTwelve('A'));
    keymap.keys[1] = keyOf(kKeyTypeToggle, {letter('X'), letter('Y')});
    keymap.keys[4] = keyOf(kKeyTypeToggle, {letter('Z')});
    useSlotZero(keymap, 0);
  }
};

TEST_F(TwoTouchTest, TheSecondKeysColumnPicksTheAction) {
  EXPECT_EQ(pressed(0, 10), Events{});
  EXPECT_EQ(engine.firstStroke, keyCodeOf(0));
  EXPECT_EQ(engine.lastKeyTime, 0u);
  EXPECT_EQ(pressed(4, 50), tapped('E'));
  EXPECT_EQ(engine.firstStroke, 0);
  EXPECT_EQ(engine.toggleKey, 0);
  EXPECT_EQ(engine.lastKeyTime, 50u);

  press(0, 60);
  EXPECT_EQ(pressed(0, 70), tapped('A'));
  // The second key's own type plays no part.
  press(0, 80);
  EXPECT_EQ(pressed(1, 90), tapped('B'));
  EXPECT_EQ(engine.toggleKey, 0);
  for (int column = 2; column < kKeypadColumns; ++column) {
    press(0, 100);
    EXPECT_EQ(pressed(column, 110), tapped(static_cast<char>('A' + column))) << column;
  }
}

TEST_F(TwoTouchTest, BeginningAPairKeepsTheCharListAndEndsTheToggle) {
  press(1, 0);
  output.take();
  const uint8_t* list = engine.activeCharList;
  ASSERT_NE(list, nullptr);
  press(0, 10);
  EXPECT_EQ(engine.activeCharList, list);
  EXPECT_EQ(engine.toggleKey, 0);
  EXPECT_TRUE(output.events.empty());
}

// Kana toggle mode: slot 5 (IME closed) has a 2-touch key in column 0, slot 4
// (IME open in kana mode) has a toggle key there.
class PairAcrossSlotsTest : public KeypadFixture {
 protected:
  void SetUp() override {
    KeypadFixture::SetUp();
    TestKeymap bell;
    bell.keys[0] = keyOf(kKeyTypeBell, rowOfTwelve('A'));
    TestKeymap toggles;
    toggles.keys[0] =
        keyOf(kKeyTypeToggle, {letter('V'), letter('W'), letter('X'), letter('Y'), letter('Z')});
    toggles.keys[4] = keyOf(kKeyTypeToggle, {letter('Q')});
    installTestKeymap(engine, 5, bell);
    installTestKeymap(engine, 4, toggles);
    engine.options = kOptionKanaToggle | kOptionClearCancelsStroke;
    engine.activeKeymap = 5;
    press(0, 10);
    ime.open = true;
    ime.conversion = kImeConversionHiraganaRoman;
  }
};

TEST_F(PairAcrossSlotsTest, AFirstKeyWithoutTwelveActionsLeavesThePairPending) {
  ASSERT_EQ(engine.firstStroke, keyCodeOf(0));
  for (int column : {4, 0, 7}) {
    EXPECT_TRUE(press(column, 20));
    EXPECT_TRUE(output.events.empty()) << column;
    EXPECT_EQ(engine.firstStroke, keyCodeOf(0));
    EXPECT_EQ(engine.activeKeymap, 4);
  }
  EXPECT_EQ(engine.lastKeyTime, 20u);             // every second stroke sets the time
  EXPECT_FALSE(event('A', kMessageKeyDown, 30));  // an unmapped key resets
  EXPECT_EQ(engine.firstStroke, 0);
  EXPECT_EQ(pressed(4, 40), tapped('Q'));
}

TEST_F(PairAcrossSlotsTest, TheClearKeyCancelsThePendingPair) {
  press(4, 20);
  EXPECT_TRUE(event(kVkBack, kMessageKeyDown, 30));
  EXPECT_EQ(engine.firstStroke, 0);
  EXPECT_FALSE(event(kVkBack, kMessageKeyUp, 31));
  EXPECT_TRUE(output.events.empty());
  EXPECT_EQ(pressed(0, 40), tapped('V'));
}
