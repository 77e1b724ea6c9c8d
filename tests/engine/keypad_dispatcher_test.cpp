#include "engine/keypad_dispatcher.h"

#include "tests/engine/keypad_fixture.h"

namespace {

using Events = std::vector<KeyEvent>;

// Slot 4 types kana-mode letters, slot 5 others; column 4 ('5') toggles two
// actions in both, so a press shows which slot was used.
TestKeymap slotKeymap(char first) {
  TestKeymap keymap;
  keymap.keys[0] = keyOf(kKeyTypeBell, rowOfTwelve('A'));
  keymap.keys[4] = keyOf(kKeyTypeToggle, {letter(first), letter(static_cast<char>(first + 1))});
  return keymap;
}

class DispatcherTest : public KeypadFixture {
 protected:
  void SetUp() override {
    KeypadFixture::SetUp();
    installTestKeymap(engine, 4, slotKeymap('K'));
    installTestKeymap(engine, 5, slotKeymap('N'));
    engine.options = kOptionKanaToggle | kOptionClearCancelsStroke;
    engine.activeKeymap = 5;
  }
  void imeKana(bool kana) {
    ime.open = kana;
    ime.conversion = kana ? kImeConversionHiraganaRoman : 0;
  }
  // Starts a toggle on column 4 with its char list active.
  void startToggle() {
    press(4, 0);
    output.take();
    ASSERT_EQ(engine.toggleKey, keyCodeOf(4));
    ASSERT_NE(engine.activeCharList, nullptr);
  }
};

TEST_F(DispatcherTest, OwnEventsPassAndChangeNothing) {
  startToggle();
  imeKana(true);
  const uint8_t* list = engine.activeCharList;
  for (uint32_t vk : {0x35u, 0x10u, 0x41u, 0x27u, 0x08u}) {
    EXPECT_FALSE(handleKeyEvent(engine, {vk, kMessageKeyDown, 5, true}));
  }
  EXPECT_EQ(engine.activeKeymap, 5);
  EXPECT_EQ(engine.toggleKey, keyCodeOf(4));
  EXPECT_EQ(engine.activeCharList, list);
  EXPECT_EQ(engine.heldModifiers, 0u);
  EXPECT_TRUE(output.events.empty());
}

// A plain keypad ends the input in progress like any other key the system
// gets; Shift and Ctrl are tracked all the same, so that a release is never
// missed.
TEST_F(DispatcherTest, NoUsableSlotPassesEverythingEndsTheInputAndTracksModifiers) {
  engine.options = kOptionTwoTouch | kOptionClearCancelsStroke;  // no IME-driven switch
  for (int32_t slot : {256, -1, 10, INT32_MIN, 1}) {
    engine.activeKeymap = slot;
    engine.toggleKey = keyCodeOf(4);
    engine.firstStroke = keyCodeOf(0);
    EXPECT_FALSE(event(kVkBack, kMessageKeyDown)) << slot;  // no first stroke to cancel
    EXPECT_FALSE(event(kVkBack, kMessageKeyUp)) << slot;
    EXPECT_EQ(engine.firstStroke, 0);
    engine.toggleKey = keyCodeOf(4);
    EXPECT_FALSE(event(0x35, kMessageKeyDown)) << slot;
    EXPECT_EQ(engine.toggleKey, 0);
    EXPECT_FALSE(event(0x10, kMessageKeyDown)) << slot;
    EXPECT_EQ(engine.heldModifiers, kHeldShift);
    EXPECT_FALSE(event(0x35, kMessageKeyUp)) << slot;
    EXPECT_FALSE(event(0x10, kMessageKeyUp)) << slot;
    EXPECT_EQ(engine.heldModifiers, 0u);
    EXPECT_EQ(engine.activeKeymap, slot);
    EXPECT_EQ(engine.currentKeymap, nullptr);
  }
  // Shift pressed while the slot is unusable and released once it is usable
  // again, or the other way round: the keypad works after either release.
  engine.activeKeymap = 256;
  event(0x10, kMessageKeyDown);
  engine.activeKeymap = 5;
  event(0x10, kMessageKeyUp);
  EXPECT_EQ(pressed(4), taps("N"));
  event(0x10, kMessageKeyDown);
  engine.activeKeymap = 256;
  event(0x10, kMessageKeyUp);
  engine.activeKeymap = 5;
  EXPECT_EQ(pressed(4, 10), taps("N"));
  EXPECT_TRUE(output.events.empty());
}

// Only slot 5 filled: the keypad follows the IME out of the empty slot 4,
// and a digit typed while slot 4 is selected ends the toggle, which would
// otherwise erase that digit at the next press.
TEST_F(DispatcherTest, TheSlotFollowsTheImeOutOfAnEmptySlot) {
  clearKeymaps(engine);
  installTestKeymap(engine, 5, slotKeymap('N'));
  engine.activeKeymap = 4;
  imeKana(false);
  EXPECT_EQ(pressed(4, 0), taps("N"));
  EXPECT_EQ(engine.activeKeymap, 5);
  imeKana(true);
  EXPECT_FALSE(event(0x35, kMessageKeyDown, 10));
  EXPECT_FALSE(event(0x35, kMessageKeyUp, 10));
  EXPECT_EQ(engine.activeKeymap, 4);
  EXPECT_EQ(engine.toggleKey, 0);
  imeKana(false);
  EXPECT_EQ(pressed(4, 20), taps("N"));
  EXPECT_EQ(engine.activeKeymap, 5);
}

// The slot switch comes before the right-arrow confirm: when the IME now
// selects an empty slot, the arrow belongs to the system and ends the toggle.
TEST_F(DispatcherTest, TheSlotFollowsTheImeBeforeTheRightArrowConfirms) {
  clearKeymaps(engine);
  installTestKeymap(engine, 5, slotKeymap('N'));
  startToggle();
  imeKana(true);
  EXPECT_FALSE(event(kVkRight, kMessageKeyDown));
  EXPECT_EQ(engine.activeKeymap, 4);
  EXPECT_EQ(engine.toggleKey, 0);
  EXPECT_FALSE(event(kVkRight, kMessageKeyUp));
  EXPECT_TRUE(output.events.empty());
}

TEST_F(DispatcherTest, SwitchingToAnEmptySlotPasses) {
  clearKeymaps(engine);
  installTestKeymap(engine, 5, slotKeymap('N'));
  imeKana(true);
  EXPECT_FALSE(event(0x35, kMessageKeyDown));
  EXPECT_EQ(engine.activeKeymap, 4);
  EXPECT_EQ(engine.currentKeymap, nullptr);
  EXPECT_TRUE(output.events.empty());
}

// A question the IME leaves unanswered (a hung application, no IME window)
// leaves the slot as it was: the IME is not taken for closed.
TEST_F(DispatcherTest, KeyDownsFollowTheImeIntoSlotFourOrFive) {
  struct Case {
    bool open;
    uint32_t conversion;
    int32_t from;
    int32_t slot;
    char typed;
    bool answersOpen = true;
    bool answersConversion = true;
  };
  const Case cases[] = {
      {true, 25, 5, 4, 'K'},
      {true, 0x11, 5, 4, 'K'},
      {true, 24, 4, 5, 'N'},
      {false, 25, 4, 5, 'N'},
      {false, 0, 4, 5, 'N'},
      {false, 0, 4, 4, 'K', false},
      {true, 25, 5, 5, 'N', false},
      {true, 25, 5, 5, 'N', true, false},
      {true, 0, 4, 4, 'K', true, false},
      {false, 0, 4, 5, 'N', true, false},  // closed: no mode to ask for
  };
  for (const Case& c : cases) {
    engine.activeKeymap = c.from;
    ime.open = c.open;
    ime.conversion = c.conversion;
    ime.answersOpen = c.answersOpen;
    ime.answersConversion = c.answersConversion;
    resetInputState(engine);
    const std::string trace = std::to_string(c.open) + " " + std::to_string(c.conversion) + " " +
                              std::to_string(c.answersOpen) + std::to_string(c.answersConversion);
    EXPECT_EQ(pressed(4), taps(std::string(1, c.typed))) << trace;
    EXPECT_EQ(engine.activeKeymap, c.slot) << trace;
    EXPECT_EQ(engine.currentKeymap, &engine.keymaps[c.slot]) << trace;
    EXPECT_EQ((engine.imeStatus & kImeStatusUnanswered) != 0,
              !c.answersOpen || (c.open && !c.answersConversion))
        << trace;
  }
}

// Kana input (a kana mode without roman input) would turn the roman letters
// of every kana into other kana: the keypad is then the system's, down and
// up, in both input modes, and imeStatus says why. It is the keypad again
// once the IME takes roman letters.
TEST_F(DispatcherTest, KanaInputLeavesTheKeypadToTheSystem) {
  for (uint32_t mode : {uint32_t{kOptionKanaToggle}, uint32_t{kOptionTwoTouch}}) {
    SCOPED_TRACE(mode);
    engine.options = mode;
    engine.activeKeymap = 4;
    ime.open = true;
    ime.conversion = 0x19;
    startToggle();
    ime.conversion = 0x09;  // native, full shape, no roman input
    EXPECT_FALSE(event(0x35, kMessageKeyDown));
    EXPECT_EQ(engine.activeKeymap, 4);
    EXPECT_EQ(engine.toggleKey, 0);  // a new character afterwards, nothing erased
    EXPECT_FALSE(event(0x35, kMessageKeyUp));
    EXPECT_EQ(engine.imeStatus, kImeStatusOpen | kImeStatusKanaInput);
    EXPECT_TRUE(output.events.empty());
    ime.conversion = 0x19;
    EXPECT_EQ(pressed(4), taps("K"));
    EXPECT_EQ(engine.imeStatus, uint32_t{kImeStatusOpen});
    resetInputState(engine);
  }
}

TEST_F(DispatcherTest, KeypadKeyDownsSwitchButOtherEventsAndRotationDoNot) {
  imeKana(true);
  EXPECT_TRUE(event(0x35, kMessageKeyUp));
  EXPECT_EQ(engine.activeKeymap, 5);
  EXPECT_FALSE(event(0x41, kMessageKeyUp));
  EXPECT_FALSE(event(0x41, kMessageKeyDown));  // an ordinary key leaves the slot alone
  EXPECT_EQ(engine.activeKeymap, 5);
  EXPECT_EQ(pressed(4), taps("K"));
  EXPECT_EQ(engine.activeKeymap, 4);
  engine.screenRotated = true;
  imeKana(false);
  EXPECT_EQ(pressed(4), backspaceThen(taps("L")));
  EXPECT_EQ(engine.activeKeymap, 4);
  // 2-touch mode never switches.
  engine.options = kOptionTwoTouch;
  EXPECT_EQ(pressed(4), backspaceThen(taps("K")));
  EXPECT_EQ(engine.activeKeymap, 4);
}

// Each question to the IME crosses processes from inside the hook: ordinary
// typing asks nothing, a keypad press at most twice.
TEST_F(DispatcherTest, TheImeIsAskedOnlyWhereItsAnswerDecides) {
  imeKana(true);
  for (uint32_t vk : {0x41u, 0x10u, 0x42u, 0xA2u, 0x20u, 0x27u, 0x08u, 0x0Du}) {
    event(vk, kMessageKeyDown);
    event(vk, kMessageKeyUp);
  }
  for (uint32_t modifier : {0xA0u, 0xA2u}) {  // Shift or Ctrl + digit is the system's
    event(modifier, kMessageKeyDown);
    event(0x35, kMessageKeyDown);
    event(0x35, kMessageKeyUp);
    event(modifier, kMessageKeyUp);
  }
  EXPECT_EQ(ime.questions, 0);
  EXPECT_TRUE(event(0x35, kMessageKeyDown));
  EXPECT_EQ(ime.questions, 2);  // open, then its conversion mode
  EXPECT_TRUE(event(0x35, kMessageKeyUp));
  EXPECT_EQ(ime.questions, 2);
  // While a toggle runs the right arrow's meaning depends on the slot; so
  // does the clear key's while a first stroke waits. A closed IME takes one
  // question.
  imeKana(false);
  ime.questions = 0;
  EXPECT_TRUE(event(kVkRight, kMessageKeyDown));
  EXPECT_TRUE(event(kVkRight, kMessageKeyUp));
  EXPECT_EQ(ime.questions, 1);
  press(0);
  EXPECT_EQ(engine.firstStroke, keyCodeOf(0));
  EXPECT_TRUE(event(kVkBack, kMessageKeyDown));
  EXPECT_FALSE(event(kVkBack, kMessageKeyUp));
  EXPECT_EQ(ime.questions, 3);
  press(4);
  EXPECT_EQ(ime.questions, 4);
  EXPECT_EQ(output.take(), join({taps("K"), taps("N")}));
}

TEST_F(DispatcherTest, ASlotSwitchCarriesTheToggleOver) {
  startToggle();  // 'N' in slot 5
  imeKana(true);
  EXPECT_EQ(pressed(4, 10), backspaceThen(taps("L")));  // index 1 of slot 4's key
  EXPECT_EQ(engine.toggleKey, keyCodeOf(4));
}

TEST_F(DispatcherTest, RightArrowConfirmsTheRunningToggleOnItsRelease) {
  startToggle();
  const uint8_t* list = engine.activeCharList;
  EXPECT_TRUE(event(0x27, kMessageKeyDown));
  EXPECT_EQ(engine.toggleKey, keyCodeOf(4));
  EXPECT_TRUE(event(0x27, kMessageKeyUp));
  EXPECT_EQ(engine.toggleKey, 0);
  EXPECT_EQ(engine.activeCharList, list);  // post-conversion still possible
  EXPECT_TRUE(output.events.empty());
  // No toggle running: the arrow is an ordinary unmapped key.
  EXPECT_FALSE(event(0x27, kMessageKeyDown));
  EXPECT_EQ(engine.activeCharList, nullptr);
  EXPECT_FALSE(event(0x27, kMessageKeyUp));
  // A new press of the same key starts over instead of cycling.
  EXPECT_EQ(pressed(4, 20), taps("N"));
}

TEST_F(DispatcherTest, KeypadKeyDownPressesItsColumnAndItsReleaseDoesNothing) {
  EXPECT_TRUE(event(0x35, kMessageKeyDown, 7));
  EXPECT_EQ(output.take(), taps("N"));
  EXPECT_EQ(engine.toggleKey, keyCodeOf(4));
  EXPECT_EQ(engine.lastKeyTime, 7u);
  const uint8_t* list = engine.activeCharList;
  for (uint32_t message : {257u, 260u, 261u, 0u, 258u}) {
    EXPECT_TRUE(event(0x35, message, 99)) << message;  // releases and odd messages
    EXPECT_TRUE(output.events.empty());
    EXPECT_EQ(engine.toggleKey, keyCodeOf(4));
    EXPECT_EQ(engine.activeCharList, list);
    EXPECT_EQ(engine.lastKeyTime, 7u);
  }
}

TEST_F(DispatcherTest, ShiftHeldLeavesTheKeypadToTheSystem) {
  startToggle();
  EXPECT_FALSE(event(0x10, kMessageKeyDown));
  EXPECT_EQ(engine.heldModifiers, kHeldShift);
  EXPECT_EQ(engine.toggleKey, 0);  // the unmapped Shift reset the input state
  engine.toggleKey = keyCodeOf(4);
  EXPECT_FALSE(event(0x35, kMessageKeyDown));
  EXPECT_FALSE(event(0x35, kMessageKeyUp));
  EXPECT_EQ(engine.toggleKey, keyCodeOf(4));  // keypad keys with Shift held reset nothing
  EXPECT_EQ(engine.heldModifiers, kHeldShift);
  EXPECT_TRUE(output.events.empty());
  // Shift released between a keypad key's down and up: the system holds
  // the key, so it gets the key-up too.
  EXPECT_FALSE(event(0x35, kMessageKeyDown));
  EXPECT_FALSE(event(0x10, kMessageKeyUp));
  EXPECT_EQ(engine.heldModifiers, 0u);
  EXPECT_FALSE(event(0x35, kMessageKeyUp));
  EXPECT_TRUE(output.events.empty());
  // The next press is the keypad's again, down and up.
  EXPECT_TRUE(event(0x35, kMessageKeyDown));
  EXPECT_TRUE(event(0x35, kMessageKeyUp));
}

TEST_F(DispatcherTest, TheRightArrowPressedBeforeAToggleGetsItsKeyUp) {
  EXPECT_FALSE(event(kVkRight, kMessageKeyDown));  // no toggle yet: the cursor moves
  startToggle();
  EXPECT_TRUE(event(kVkRight, kMessageKeyDown));  // a repeat while toggling
  EXPECT_FALSE(event(kVkRight, kMessageKeyUp));
  EXPECT_EQ(engine.toggleKey, 0);
  EXPECT_TRUE(output.events.empty());
}

TEST_F(DispatcherTest, CtrlIsTrackedThroughSystemMessagesToo) {
  EXPECT_FALSE(event(0x11, kMessageSysKeyDown));
  EXPECT_EQ(engine.heldModifiers, kHeldCtrl);
  EXPECT_FALSE(event(0x35, kMessageKeyDown));  // Ctrl alone leaves the keypad to the system
  EXPECT_FALSE(event(0x35, kMessageKeyUp));
  EXPECT_FALSE(event(0x10, kMessageKeyDown));
  EXPECT_EQ(engine.heldModifiers, kHeldCtrl | kHeldShift);
  EXPECT_FALSE(event(0x35, kMessageKeyDown));
  EXPECT_FALSE(event(0x11, kMessageSysKeyUp));
  EXPECT_FALSE(event(0x10, 258));  // not a press or release
  EXPECT_EQ(engine.heldModifiers, kHeldShift);
  EXPECT_FALSE(event(0x10, kMessageKeyUp));
  EXPECT_TRUE(event(0x35, kMessageKeyDown));
  EXPECT_EQ(output.take(), taps("N"));
}

// Desktop hooks report the left and right keys, never VK_SHIFT/VK_CONTROL.
// Win+digit, Alt+digit and Alt codes on the numeric keypad are the system's
// too: with Alt held the keys come as system messages, and both the down and
// the up pass.
TEST_F(DispatcherTest, LeftAndRightShiftCtrlAltAndWinCountAsWell) {
  struct Case {
    uint32_t vk;
    uint32_t held;
    uint32_t down = kMessageKeyDown;
    uint32_t up = kMessageKeyUp;
  };
  for (const Case& c :
       {Case{0xA0, kHeldShift}, Case{0xA1, kHeldShift}, Case{0xA2, kHeldCtrl},
        Case{0xA3, kHeldCtrl}, Case{0xA4, kHeldAlt, kMessageSysKeyDown, kMessageSysKeyUp},
        Case{0xA5, kHeldAlt, kMessageSysKeyDown, kMessageSysKeyUp},
        Case{0x12, kHeldAlt, kMessageSysKeyDown, kMessageSysKeyUp}, Case{0x5B, kHeldWin},
        Case{0x5C, kHeldWin}}) {
    EXPECT_FALSE(event(c.vk, c.down));
    EXPECT_EQ(engine.heldModifiers, c.held) << std::hex << c.vk;
    EXPECT_FALSE(event(0x32, c.down));  // Shift+2 types the system's own symbol
    EXPECT_FALSE(event(0x32, c.up));
    EXPECT_FALSE(event(c.vk, kMessageKeyUp));
    EXPECT_EQ(engine.heldModifiers, 0u);
  }
  // Alt codes: Alt held through several numeric keypad keys.
  engine.options |= kOptionNumericKeypad;
  selectKeypadKeys(engine);
  EXPECT_FALSE(event(0xA4, kMessageSysKeyDown));
  for (uint32_t vk : {0x61u, 0x62u, 0x68u}) {
    EXPECT_FALSE(event(vk, kMessageSysKeyDown));
    EXPECT_FALSE(event(vk, kMessageSysKeyUp));
  }
  EXPECT_FALSE(event(0xA4, kMessageKeyUp));
  engine.options &= ~kOptionNumericKeypad;
  selectKeypadKeys(engine);
  // Both Shift keys down: releasing one leaves Shift held.
  event(0xA0, kMessageKeyDown);
  event(0xA1, kMessageKeyDown);
  event(0xA0, kMessageKeyUp);
  EXPECT_EQ(engine.heldModifiers, kHeldShift);
  EXPECT_FALSE(event(0x35, kMessageKeyDown));
  event(0x35, kMessageKeyUp);
  event(0xA1, kMessageKeyUp);
  EXPECT_TRUE(output.events.empty());
  EXPECT_EQ(pressed(4), taps("N"));
}

// In the program's own fields keys mean themselves. Focus may move between
// such a field and the test field while a key is held, or the input mode be
// switched: the key-up still goes where its key-down went, and no key-up
// reaches the system for a key-down it never got.
TEST_F(DispatcherTest, KeysTypedAsTheyArePassUnconvertedAndKeepTheirKeyUps) {
  auto typed = [this](uint32_t vk, uint32_t message) {
    return handleKeyEvent(engine, {vk, message, 0, false, true});
  };
  startToggle();
  EXPECT_FALSE(typed(0x35, kMessageKeyDown));
  EXPECT_FALSE(typed(0x35, kMessageKeyUp));
  EXPECT_EQ(engine.toggleKey, 0);  // it ended the running toggle
  EXPECT_EQ(engine.activeCharList, nullptr);
  EXPECT_FALSE(typed(kVkRight, kMessageKeyDown));  // no confirm either
  EXPECT_FALSE(typed(kVkRight, kMessageKeyUp));
  EXPECT_TRUE(output.events.empty());
  // Down in the field, up in the test field: the system gets the up.
  EXPECT_FALSE(typed(0x35, kMessageKeyDown));
  EXPECT_FALSE(event(0x35, kMessageKeyUp));
  // Down in the test field (converted), up in the field: nothing more.
  EXPECT_TRUE(event(0x35, kMessageKeyDown));
  EXPECT_EQ(output.take(), taps("N"));
  EXPECT_FALSE(typed(0x35, kMessageKeyUp));
  EXPECT_TRUE(output.events.empty());
  // Shift pressed in the field counts in the test field, until released.
  EXPECT_FALSE(typed(0xA0, kMessageKeyDown));
  EXPECT_EQ(engine.heldModifiers, kHeldShift);
  EXPECT_FALSE(event(0x35, kMessageKeyDown));
  EXPECT_FALSE(event(0x35, kMessageKeyUp));
  EXPECT_FALSE(event(0xA0, kMessageKeyUp));
  EXPECT_EQ(engine.heldModifiers, 0u);
  // The swaps apply in the field, and the replacement is released however
  // the key-up comes.
  engine.options |= kOptionSwapCtrlCaps;
  EXPECT_TRUE(typed(kVkCapital, kMessageKeyDown));
  EXPECT_TRUE(event(kVkCapital, kMessageKeyUp));
  EXPECT_TRUE(event(kVkCapital, kMessageKeyDown));
  EXPECT_TRUE(typed(kVkCapital, kMessageKeyUp));
  EXPECT_EQ(output.take(), (Events{down(0x11), up(0x11), down(0x11), up(0x11)}));
  EXPECT_EQ(engine.heldModifiers, 0u);
  // Pressed with no input mode, released in one: the system gets the up.
  const uint32_t mode = engine.options;
  engine.options = 0;
  EXPECT_FALSE(event(0x35, kMessageKeyDown));
  engine.options = mode;
  EXPECT_FALSE(event(0x35, kMessageKeyUp));
  // Typed with no input mode, then pressed and released in one: both
  // converted, no stray up.
  engine.options = 0;
  EXPECT_FALSE(event(0x35, kMessageKeyDown));
  EXPECT_FALSE(event(0x35, kMessageKeyUp));
  engine.options = mode;
  EXPECT_TRUE(event(0x35, kMessageKeyDown));
  EXPECT_TRUE(event(0x35, kMessageKeyUp));
  EXPECT_EQ(output.take(), taps("N"));
}

TEST_F(DispatcherTest, WithTheNumericKeypadChosenTheDigitRowIsTheSystems) {
  engine.options |= kOptionNumericKeypad;
  selectKeypadKeys(engine);
  EXPECT_TRUE(event(0x65, kMessageKeyDown));  // numeric keypad 5
  EXPECT_TRUE(event(0x65, kMessageKeyUp));
  EXPECT_EQ(output.take(), taps("N"));
  EXPECT_TRUE(event(0x65, kMessageKeyDown));
  EXPECT_EQ(output.take(), backspaceThen(taps("O")));
  EXPECT_FALSE(event(0x35, kMessageKeyDown));  // the digit 5 types itself
  EXPECT_FALSE(event(0x35, kMessageKeyUp));
  EXPECT_EQ(engine.toggleKey, 0);                      // and ends the toggle like any other key
  EXPECT_FALSE(event(kKeypadVk[9], kMessageKeyDown));  // the phone keypad's * (F8) too
  EXPECT_FALSE(event(kKeypadVk[9], kMessageKeyUp));
  EXPECT_TRUE(output.events.empty());
}

TEST_F(DispatcherTest, UnmappedKeysEndAllRunningInput) {
  for (uint32_t message : {256u, 257u, 260u, 261u}) {
    startToggle();
    engine.firstStroke = keyCodeOf(0);
    EXPECT_FALSE(event(0x41, message)) << message;
    EXPECT_EQ(engine.toggleKey, 0);
    EXPECT_EQ(engine.firstStroke, 0);
    EXPECT_EQ(engine.activeCharList, nullptr);
  }
}

TEST_F(DispatcherTest, TheClearKeyCancelsOnlyAPendingFirstStroke) {
  // Only its key-down cancels: a key-up (its down came before the stroke)
  // passes, ending the pair like any other key.
  press(0, 0);
  EXPECT_FALSE(event(kVkBack, kMessageKeyUp));
  EXPECT_EQ(engine.firstStroke, 0);
  press(0, 0);
  ASSERT_EQ(engine.firstStroke, keyCodeOf(0));
  EXPECT_TRUE(event(kVkBack, kMessageKeyDown));
  EXPECT_EQ(engine.firstStroke, 0);
  EXPECT_FALSE(event(kVkBack, kMessageKeyUp));
  // Without a pending stroke the clear key is an ordinary key.
  startToggle();
  EXPECT_FALSE(event(kVkBack, kMessageKeyDown));
  EXPECT_EQ(engine.toggleKey, 0);
  // Without the option it passes too, after the reset.
  engine.options &= ~kOptionClearCancelsStroke;
  press(0, 0);
  EXPECT_FALSE(event(kVkBack, kMessageKeyDown));
  EXPECT_EQ(engine.firstStroke, 0);
  EXPECT_TRUE(output.events.empty());
}

// What the system sees counts: with the Ctrl/CapsLock swap, Ctrl reaches it
// as the alphanumeric key and CapsLock as Ctrl.
TEST_F(DispatcherTest, SwapsApplyOnlyToWhatTheDispatcherPasses) {
  engine.options |= kOptionSwapCtrlCaps;
  for (uint32_t ctrl : {0x11u, 0xA2u}) {
    EXPECT_TRUE(event(ctrl, kMessageKeyDown));  // unmapped: passed, then swapped
    EXPECT_EQ(output.take(), Events{down(0xF0)});
    EXPECT_EQ(engine.heldModifiers, 0u);
    EXPECT_EQ(pressed(4), taps("N"));
    EXPECT_TRUE(event(ctrl, kMessageKeyUp));
    EXPECT_EQ(output.take(), Events{up(0xF0)});
  }
  EXPECT_TRUE(event(kVkCapital, kMessageKeyDown));
  EXPECT_EQ(output.take(), Events{down(0x11)});
  EXPECT_EQ(engine.heldModifiers, kHeldCtrl);
  EXPECT_FALSE(event(0x35, kMessageKeyDown));  // Ctrl+5 is the system's
  EXPECT_FALSE(event(0x35, kMessageKeyUp));
  EXPECT_TRUE(event(kVkCapital, kMessageKeyUp));
  EXPECT_EQ(output.take(), Events{up(0x11)});
  EXPECT_EQ(engine.heldModifiers, 0u);
}

// Key-ups of the lock screen's time went elsewhere: after the unlock the
// engine forgets what it held, releases the replacement a swap put down and
// ends the input in progress, and the keypad is the keypad again.
// Key-ups that never reached the hook (Ctrl+Alt+Del, a UAC prompt, an
// elevated window taking the release, the hook removed for a while): before
// a keypad key acts, what the engine holds is checked against the system.
// A swapped key is held as long as the system holds its replacement.
TEST_F(DispatcherTest, AKeypadKeyDownForgetsModifiersTheSystemNoLongerHolds) {
  ScriptedKeyState system;
  engine.systemKeys = &system;
  engine.options |= kOptionSwapCtrlCaps;
  EXPECT_FALSE(event(0xA0, kMessageKeyDown));
  EXPECT_FALSE(event(0x5B, kMessageKeyDown));
  EXPECT_TRUE(event(kVkCapital, kMessageKeyDown));
  EXPECT_EQ(output.take(), Events{down(0x11)});
  keySetAdd(system.down, 0xA0);
  keySetAdd(system.down, 0x11);
  EXPECT_FALSE(event(0x35, kMessageKeyDown));  // Shift and Ctrl still held
  EXPECT_FALSE(event(0x35, kMessageKeyUp));
  EXPECT_EQ(engine.heldModifiers, kHeldShift | kHeldCtrl);
  system.down = KeySet{};
  keySetAdd(system.down, 0x11);
  EXPECT_FALSE(event(0x35, kMessageKeyDown));  // Shift gone, Ctrl still held
  EXPECT_FALSE(event(0x35, kMessageKeyUp));
  EXPECT_EQ(engine.heldModifiers, uint32_t{kHeldCtrl});
  system.down = KeySet{};
  EXPECT_EQ(pressed(4), taps("N"));  // nothing held: the keypad is the keypad
  EXPECT_EQ(engine.heldModifiers, 0u);
  // Late key-ups pass as any key does, and the keypad stays the keypad.
  EXPECT_FALSE(event(0xA0, kMessageKeyUp));
  EXPECT_FALSE(event(0x5B, kMessageKeyUp));
  EXPECT_EQ(engine.heldModifiers, 0u);
  EXPECT_EQ(pressed(4, 10), taps("N"));
}

TEST_F(DispatcherTest, ForgettingHeldKeysReleasesSwapsAndFreesTheKeypad) {
  engine.options |= kOptionSwapCtrlCaps;
  startToggle();
  EXPECT_FALSE(event(0xA0, kMessageKeyDown));
  EXPECT_TRUE(event(kVkCapital, kMessageKeyDown));
  EXPECT_EQ(output.take(), Events{down(0x11)});
  EXPECT_EQ(engine.heldModifiers, kHeldShift | kHeldCtrl);
  engine.toggleKey = keyCodeOf(4);
  forgetHeldKeys(engine);
  EXPECT_EQ(output.take(), Events{up(0x11)});
  EXPECT_EQ(engine.heldModifiers, 0u);
  EXPECT_EQ(engine.toggleKey, 0);
  EXPECT_EQ(pressed(4), taps("N"));  // a new character: nothing erased
  forgetHeldKeys(engine);            // nothing held: nothing sent
  EXPECT_TRUE(output.events.empty());
}

}  // namespace
