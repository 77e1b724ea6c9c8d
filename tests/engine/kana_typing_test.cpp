#include "engine/kana_typing.h"

#include <gtest/gtest.h>

#include "engine/key_event.h"
#include "tests/support/engine_fixture.h"
#include "tests/support/image_builder.h"

namespace {

Events tap(uint8_t vk) {
  return {down(vk), up(vk)};
}

Events withShift(const Events& keys) {
  return join({{down(0x10)}, keys, {up(0x10)}});
}

const Events kBack = tap(0x08);
const Events kImeChord = {down(0xA4), down(0x19), up(0x19), up(0xA4)};
const Events kEnter = tap(0x0D);
const Events kCapsLock = tap(0x14);

constexpr uint32_t kKana = 256;  // lastKana = kKana + row

class KanaTypingTest : public EngineFixture {
 protected:
  void SetUp() override {
    EngineFixture::SetUp();
    engine.options = 0;
    ime.open = true;  // IME control switches an open IME off around direct characters
  }
  Events type(uint8_t modifier, uint8_t vk) {
    typeCharEntry(engine, modifier, vk);
    return output.take();
  }
};

struct EntryCase {
  uint8_t modifier;
  uint8_t vk;
  Events sent;
  uint32_t lastKanaAfter;
};

// Each entry typed on a fresh state whose last kana is 'ほ' (row 39), so that
// keeping and clearing lastKana are both visible.
TEST_F(KanaTypingTest, EntriesByModifier) {
  const uint32_t before = kKana + 39;
  const EntryCase cases[] = {
      {1, 'T', taps("KA"), kKana + 29},
      {1, 'Q', taps("TA"), kKana + 26},
      {1, '0', taps("WA"), kKana + 0},
      {1, 0xDC, tap(0xBD), kKana + 44},           // long vowel mark
      {3, '1', withShift(taps("1")), kKana + 1},  // shifted symbol
      {3, 0xBA, withShift(tap(0xBB)), kKana + 36},
      {3, 'Z', taps("XTU"), kKana + 35},            // small kana
      {3, 'K', withShift(taps("K")), kKana + 20},   // empty shifted cell: Shift+K
      {3, 0xE2, withShift(tap(0xE2)), kKana + 47},  // empty shifted cell
      {17, 'T', taps("GA"), 0},
      {17, 'V', taps("BI"), 0},
      {33, 'F', taps("PA"), 0},
      {33, 'T', taps("KA"), 0},            // no semi-voiced form: unchanged
      {0, 0xBB, withShift(taps("6")), 0},  // direct remap with Shift
      {0, 0xE2, withShift(tap(0xBD)), 0},
      {2, '7', tap(0xDE), 0},  // Shift remap without Shift
      {2, '2', withShift(tap(0xDE)), 0},
      {2, 0xC0, tap(0xC0), 0},
      {0, 'A', taps("A"), 0},  // no remap: typed as it is
      {2, 'A', withShift(taps("A")), 0},
      {8, 0xDE, withShift(tap(0xBA)), 0},
      {10, 0xDE, withShift(taps("8")), 0},
      {1, 0x20, tap(0x20), before},  // not in the table: kept
      {0, 0x20, tap(0x20), before},
      {6, 'A', join({{down(0xA4), down(0x10)}, taps("A"), {up(0x10), up(0xA4)}}), 0},
      {4, 'A', join({{down(0xA4)}, taps("A"), {up(0xA4)}}), 0},
      {5, 'T', join({{down(0xA4)}, taps("T"), {up(0xA4)}}), 0},  // no column for 5
      {9, 'T', taps("T"), 0},
      {19, 'T', withShift(taps("T")), 0},
  };
  for (const EntryCase& c : cases) {
    engine.lastKana = before;
    EXPECT_EQ(type(c.modifier, c.vk), c.sent)
        << "entry " << int(c.modifier) << "," << std::hex << int(c.vk);
    EXPECT_EQ(engine.lastKana, c.lastKanaAfter)
        << "entry " << int(c.modifier) << "," << std::hex << int(c.vk);
  }
}

struct RewriteCase {
  uint8_t baseKey;
  uint8_t markKey;
  Events form;
};

TEST_F(KanaTypingTest, DakutenAndHandakutenRewriteTheLastKana) {
  const RewriteCase cases[] = {
      {'T', 0xC0, taps("GA")},  {'F', 0xDB, taps("PA")}, {'T', 0xDB, taps("KA")},
      {0xBB, 0xC0, taps("BE")}, {'2', 0xDB, taps("PU")}, {'3', 0xC0, taps("A")},
      {'4', 0xC0, taps("VU")},  {'4', 0xDB, taps("U")},
  };
  // The kana is erased first, in either input mode, unless a step of the
  // same press has already erased the candidate before the mark.
  for (const RewriteCase& c : cases) {
    for (uint32_t options : {0u, uint32_t{kOptionKanaToggle}}) {
      for (uint32_t erasedBefore : {0u, 1u}) {
        engine.options = options;
        engine.lastKana = 0;
        type(1, c.baseKey);
        const uint32_t base = engine.lastKana;
        const Events expected = erasedBefore != 0 ? c.form : join({kBack, c.form});
        engine.backspacesInEvent = erasedBefore;
        EXPECT_EQ(type(1, c.markKey), expected)
            << std::hex << int(c.baseKey) << " " << options << " " << erasedBefore;
        EXPECT_EQ(engine.lastKana, base);
        // A second mark rewrites the same base kana again.
        engine.backspacesInEvent = erasedBefore;
        EXPECT_EQ(type(1, c.markKey), expected) << std::hex << int(c.baseKey);
      }
    }
  }
}

TEST_F(KanaTypingTest, MarksWithoutAPreviousKanaAreTypedAsThemselves) {
  EXPECT_EQ(type(1, 0xC0), taps("D"));
  EXPECT_EQ(engine.lastKana, kKana + 42);
  engine.lastKana = 0;
  EXPECT_EQ(type(1, 0xDB), taps("H"));
  EXPECT_EQ(engine.lastKana, kKana + 43);
}

TEST_F(KanaTypingTest, LastKanaNamingNoRowIsNoPreviousKana) {
  for (uint32_t stale : {1u, 255u, 256u + 48u, 0xFFFFFFFFu}) {
    engine.lastKana = stale;
    EXPECT_EQ(type(1, 0xC0), taps("D")) << stale;
    EXPECT_EQ(engine.lastKana, kKana + 42);
  }
}

TEST_F(KanaTypingTest, MarkAfterShiftedKanaRewritesItsRow) {
  type(3, 'Z');  // っ: the last kana is row 35 (つ)
  EXPECT_EQ(type(1, 0xC0), join({kBack, taps("DU")}));
}

TEST_F(KanaTypingTest, MarkWithOtherModifiersDoesNotRewrite) {
  type(1, 'T');
  EXPECT_EQ(type(3, 0xC0), tap(0xC0));  // the mark key's own shifted cell
  EXPECT_EQ(engine.lastKana, kKana + 42);
  type(1, 'T');
  EXPECT_EQ(type(0, 0xC0), withShift(taps("2")));  // direct: its remap
  EXPECT_EQ(engine.lastKana, 0u);
}

TEST_F(KanaTypingTest, ImeControlWrapsDirectCharacters) {
  engine.options = kOptionImeControl;
  ime.composition = 3;
  EXPECT_EQ(type(0, '5'), join({kEnter, kImeChord, taps("5"), kImeChord}));
  ime.composition = 0;
  EXPECT_EQ(type(0, '5'), join({kImeChord, taps("5"), kImeChord}));
  // The back-spaces this event sent reach the IME before the Enter: only
  // what they leave is committed, and an empty composition gets no Enter.
  ime.composition = 2;
  engine.backspacesInEvent = 1;
  EXPECT_EQ(type(0, '5'), join({kEnter, kImeChord, taps("5"), kImeChord}));
  ime.composition = 1;
  EXPECT_EQ(type(0, '5'), join({kImeChord, taps("5"), kImeChord}));
  engine.backspacesInEvent = 0;
  ime.composition = 0;
  EXPECT_EQ(type(2, 'A'), join({kImeChord, withShift(taps("A")), kImeChord}));
  EXPECT_EQ(type(0, 0xBB), join({kImeChord, withShift(taps("6")), kImeChord}));
  EXPECT_EQ(type(12, 'A'), join({kImeChord, {down(0xA4)}, taps("A"), {up(0xA4)}, kImeChord}));
}

// The chord toggles the IME: on a closed IME it would open it around the
// character, so the IME is asked first. An IME that does not answer counts
// as it was last known.
TEST_F(KanaTypingTest, ImeControlAsksFirstAndLeavesAClosedImeAlone) {
  engine.options = kOptionImeControl;
  ime.composition = 3;
  ime.open = false;
  EXPECT_EQ(type(0, '5'), taps("5"));
  EXPECT_EQ(type(2, 'A'), withShift(taps("A")));
  ime.answersOpen = false;
  ime.open = true;
  EXPECT_EQ(type(0, '5'), taps("5"));  // last known closed
  ime.answersOpen = true;
  ime.questions = 0;
  EXPECT_EQ(type(0, '5'), join({kEnter, kImeChord, taps("5"), kImeChord}));
  EXPECT_EQ(ime.questions, 2);  // open, then the composition
  ime.answersOpen = false;
  ime.open = false;
  EXPECT_EQ(type(0, '5'), join({kEnter, kImeChord, taps("5"), kImeChord}));  // last known open
}

TEST_F(KanaTypingTest, ImeControlLeavesKanaAndModifiedKeysAlone) {
  engine.options = kOptionImeControl;
  ime.composition = 3;
  EXPECT_EQ(type(1, 'T'), taps("KA"));
  EXPECT_EQ(type(17, 'T'), taps("GA"));
  EXPECT_EQ(type(3, 'K'), withShift(taps("K")));
  EXPECT_EQ(type(6, 'A'), join({{down(0xA4), down(0x10)}, taps("A"), {up(0x10), up(0xA4)}}));
  EXPECT_EQ(type(1, 0x20), tap(0x20));
}

TEST_F(KanaTypingTest, DirectCharactersWithoutImeControlGetNoChords) {
  ime.composition = 3;
  EXPECT_EQ(type(0, '5'), taps("5"));
}

// CapsLock would turn the roman letters of a kana into capitals: a kana
// entry drops the latch without the tap, and switches CapsLock back first
// when the latch had switched it.
TEST_F(KanaTypingTest, PendingCapsLockIsTappedOnceBeforeTheNextLetterNeverBeforeKana) {
  engine.options = kOptionAutoCapsLock;
  engine.capsLockPending = true;
  EXPECT_EQ(type(1, 'T'), taps("KA"));
  EXPECT_EQ(engine.options, uint32_t{kOptionAutoCapsLock});
  EXPECT_FALSE(engine.capsLockPending);
  engine.capsLockPending = true;
  EXPECT_EQ(type(0, 'B'), join({kCapsLock, taps("B")}));
  EXPECT_EQ(type(0, 'B'), taps("B"));
  EXPECT_EQ(type(17, 'T'), join({kCapsLock, taps("GA")}));
  EXPECT_EQ(type(1, 'T'), taps("KA"));
  EXPECT_EQ(engine.options, uint32_t{kOptionAutoCapsLock});
  EXPECT_FALSE(engine.capsLockPending);

  engine.options = kOptionImeControl;
  engine.capsLockPending = true;
  EXPECT_EQ(type(0, 'B'), join({kCapsLock, kImeChord, taps("B"), kImeChord}));
  EXPECT_EQ(engine.options, uint32_t{kOptionImeControl});
  EXPECT_FALSE(engine.capsLockPending);
}

// A kana sequence holds Shift only between its own marks: the kana before
// and after it go out unshifted.
TEST_F(KanaTypingTest, KanaSequencesHoldShiftOnlyBetweenTheirMarks) {
  EXPECT_EQ(type(1, 'T'), taps("KA"));
  EXPECT_EQ(type(3, '2'), withShift(tap(0xDE)));
  EXPECT_EQ(type(1, 'T'), taps("KA"));
  // An empty cell sends nothing of its own: the key is typed directly.
  EXPECT_EQ(type(3, 0xE2), withShift(tap(0xE2)));
}

// A remap rewrites the entry's key and modifier, and the rewritten entry is
// typed directly: with Shift exactly when the remap says so, and still a
// direct character that IME control wraps.
TEST_F(KanaTypingTest, RemappedEntriesAreTypedDirectlyAsTheRemapSays) {
  engine.options = kOptionImeControl;
  EXPECT_EQ(type(8, 0xBB), join({kImeChord, withShift(taps("6")), kImeChord}));
  EXPECT_EQ(type(10, 0xBD), join({kImeChord, tap(0xBB), kImeChord}));
  EXPECT_EQ(type(8, 'Q'), join({kImeChord, taps("Q"), kImeChord}));
}

// Part of a Japanese (JIS) layout: the keys differ from a US layout's for
// most punctuation. '^' and '+' are left out, as a layout without them.
class LayoutTypingTest : public KanaTypingTest {
 protected:
  void SetUp() override {
    KanaTypingTest::SetUp();
    layout.keys = {{'@', {true, 0xC0, 0}},
                   {'"', {true, '2', kLayoutShift}},
                   {':', {true, 0xBA, 0}},
                   {'~', {true, 0xDE, kLayoutShift}},
                   {'5', {true, '5', 0}},
                   {'a', {true, 'A', 0}},
                   {'A', {true, 'A', kLayoutShift}},
                   {'=', {true, 0xBD, kLayoutShift}},
                   {',', {true, 0xBC, 0}},
                   {'!', {true, '1', kLayoutShift}},
                   {'[', {true, 0xDB, 0}},
                   {'|', {true, 0xDC, kLayoutCtrl | kLayoutAlt}}};
    engine.keyboardLayout = &layout;
  }
  ScriptedLayout layout;
};

// A direct character is what its key types on a US layout (after the
// remap), typed with the key and Shift that give it where the keys go; one
// the layout has no key for (or only with Ctrl or Alt) is passed over and
// noted. Kana stay roman letters; the punctuation inside their sequences
// goes by its character too. Keys held with Alt and keys that type no
// character go out as they are.
TEST_F(LayoutTypingTest, CharactersAreTypedWithTheLayoutsKeys) {
  struct Case {
    uint8_t modifier;
    uint8_t vk;
    Events sent;
    char untypable;
  };
  const Case cases[] = {
      {0, 0xC0, tap(0xC0), 0},                                     // @ (US Shift+2)
      {0, 0xDE, tap(0xBA), 0},                                     // : (US Shift+;)
      {2, 0xBB, withShift(tap(0xDE)), 0},                          // ~ (US Shift+`)
      {2, 'A', withShift(taps("A")), 0},                           // A
      {0, 'A', taps("A"), 0},                                      // a
      {8, '5', taps("5"), 0},                                      // 5
      {0, 0xBB, {}, '^'},                                          // ^ (US Shift+6): no key
      {2, 0xDC, {}, '|'},                                          // | only with AltGr
      {12, 0xBB, join({{down(0xA4)}, tap(0xBB), {up(0xA4)}}), 0},  // Alt: a shortcut
      {0, 0x0D, tap(0x0D), 0},                                     // Enter types no character
      {1, 'T', taps("KA"), 0},                                     // roman letters
      {3, '2', withShift(taps("2")), 0},                           // " (US Shift+')
      {3, 0xBD, withShift(tap(0xBD)), 0},                          // = (US =)
      {3, 0xBC, tap(0xBC), 0},                                     // , for 、
      {3, '1', withShift(taps("1")), 0},                           // !
      {3, 0xBA, join({{down(0x10)}, {up(0x10)}}), '+'},            // + : no key
      {1, 0xDB, taps("H"), 0},                                     // no kana before: the letter
  };
  for (const Case& c : cases) {
    const uint32_t before = engine.untypableCount;
    EXPECT_EQ(type(c.modifier, c.vk), c.sent) << int(c.modifier) << " " << std::hex << int(c.vk);
    EXPECT_EQ(engine.untypableCount - before, c.untypable ? 1u : 0u) << std::hex << int(c.vk);
    if (c.untypable) {
      EXPECT_EQ(engine.lastUntypable, c.untypable);
    }
    engine.lastKana = 0;
  }
  // A key the sequence holds Shift for, typed without Shift in the layout:
  // Shift is let go around it and held again.
  layout.keys['~'] = {true, 0xDE, 0};
  EXPECT_EQ(type(3, 0xBB), join({{down(0x10), up(0x10)}, tap(0xDE), {down(0x10), up(0x10)}}));
}

// Nothing at all for a character passed over: no IME chords, no Enter, and
// the CapsLock latch waits for the next character.
TEST_F(LayoutTypingTest, APassedOverCharacterSendsNothingAround) {
  engine.options = kOptionImeControl;
  ime.composition = 2;
  engine.capsLockPending = true;
  EXPECT_EQ(type(0, 0xBB), Events{});
  EXPECT_TRUE(engine.capsLockPending);
  EXPECT_EQ(type(0, 0xC0), join({kCapsLock, kEnter, kImeChord, tap(0xC0), kImeChord}));
}

class CharListStepTest : public KanaTypingTest {
 protected:
  void activate(const Bytes& record, int index) {
    list = record;
    engine.activeCharList = list.data();
    engine.charIndex = index;
    engine.entryTyped = true;  // as the entry at `index` was
    engine.toggleKey = keyCodeOf(2);
    engine.firstStroke = keyCodeOf(3);
  }
  Bytes list;
};

TEST_F(CharListStepTest, NextAndPreviousWrapAround) {
  const Bytes three = charAction({{1, 'T'}, {1, 'B'}, {0, 'A'}});
  activate(three, 2);
  EXPECT_TRUE(nextCharEntry(engine));
  EXPECT_EQ(output.take(), join({kBack, taps("KA")}));
  EXPECT_EQ(engine.charIndex, 0);
  EXPECT_EQ(engine.toggleKey, 0);
  EXPECT_EQ(engine.firstStroke, 0);
  EXPECT_EQ(engine.activeCharList, list.data());
  EXPECT_EQ(engine.lastKana, kKana + 29);

  activate(three, 0);
  EXPECT_TRUE(previousCharEntry(engine));
  EXPECT_EQ(output.take(), join({kBack, taps("A")}));
  EXPECT_EQ(engine.charIndex, 2);
  EXPECT_EQ(engine.toggleKey, 0);
  EXPECT_EQ(engine.firstStroke, 0);
  EXPECT_EQ(engine.lastKana, 0u);

  EXPECT_TRUE(previousCharEntry(engine));
  EXPECT_EQ(output.take(), join({kBack, taps("KO")}));
  EXPECT_EQ(engine.charIndex, 1);
  EXPECT_TRUE(nextCharEntry(engine));
  EXPECT_EQ(engine.charIndex, 2);
}

TEST_F(CharListStepTest, NothingToStepStillClearsTheFirstStroke) {
  activate(charAction({{1, 'T'}}), 0);
  EXPECT_FALSE(nextCharEntry(engine));
  EXPECT_EQ(engine.firstStroke, 0);
  EXPECT_EQ(engine.toggleKey, keyCodeOf(2));  // kept: only a real step ends the toggle
  engine.firstStroke = keyCodeOf(3);
  EXPECT_FALSE(previousCharEntry(engine));
  EXPECT_EQ(engine.firstStroke, 0);
  EXPECT_EQ(engine.toggleKey, keyCodeOf(2));
  EXPECT_EQ(engine.charIndex, 0);

  activate(commandAction(5, 0), 0);  // not a char list
  EXPECT_FALSE(nextCharEntry(engine));
  EXPECT_EQ(engine.firstStroke, 0);

  engine.activeCharList = nullptr;
  engine.firstStroke = keyCodeOf(3);
  EXPECT_FALSE(previousCharEntry(engine));
  EXPECT_EQ(engine.firstStroke, 0);
  EXPECT_TRUE(output.take().empty());
}

TEST_F(CharListStepTest, IndexOutsideTheListStepsFromTheFirstEntry) {
  const Bytes three = charAction({{1, 'T'}, {1, 'B'}, {0, 'A'}});
  for (int index : {3, 200, -1}) {
    activate(three, index);
    EXPECT_TRUE(nextCharEntry(engine));
    EXPECT_EQ(engine.charIndex, 1) << index;
    EXPECT_EQ(output.take(), join({kBack, taps("KO")}));
    activate(three, index);
    EXPECT_TRUE(previousCharEntry(engine));
    EXPECT_EQ(engine.charIndex, 2) << index;
    EXPECT_EQ(output.take(), join({kBack, taps("A")}));
  }
}

// An entry the layout could not type erased nothing when it was stepped
// to, and gets no back-space when stepped away from.
TEST_F(CharListStepTest, AnEntryPassedOverGetsNoBackspace) {
  ScriptedLayout layout;
  layout.keys = {{'5', {true, '5', 0}}, {'6', {true, '6', 0}}};
  engine.keyboardLayout = &layout;
  activate(charAction({{0, '5'}, {0, 0xBB}, {0, '6'}}), 0);
  EXPECT_TRUE(nextCharEntry(engine));
  EXPECT_EQ(output.take(), kBack);
  EXPECT_TRUE(nextCharEntry(engine));
  EXPECT_EQ(output.take(), taps("6"));
  EXPECT_TRUE(previousCharEntry(engine));
  EXPECT_EQ(output.take(), kBack);
  EXPECT_TRUE(previousCharEntry(engine));
  EXPECT_EQ(output.take(), taps("5"));
}

TEST_F(CharListStepTest, SteppingConsumesAPendingCapsLock) {
  activate(charAction({{0, 'A'}, {0, 'B'}}), 0);
  engine.options = 0;
  engine.capsLockPending = true;
  EXPECT_TRUE(nextCharEntry(engine));
  EXPECT_EQ(output.take(), join({kBack, kCapsLock, taps("B")}));
  EXPECT_EQ(engine.options, 0u);
  EXPECT_FALSE(engine.capsLockPending);
}

}  // namespace
