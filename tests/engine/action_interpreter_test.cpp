#include "engine/action_interpreter.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "engine/key_event.h"
#include "tests/support/engine_fixture.h"
#include "tests/support/image_builder.h"

namespace {

const Events kBack = {down(0x08), up(0x08)};
const Events kCapsLock = {down(0x14), up(0x14)};

// A record in a heap block of exactly its own size, so that the sanitizer
// sees any read past its end.
struct ExactRecord {
  explicit ExactRecord(const Bytes& bytes) : block(new uint8_t[bytes.size()]) {
    std::memcpy(block.get(), bytes.data(), bytes.size());
  }
  const uint8_t* get() const { return block.get(); }
  std::unique_ptr<uint8_t[]> block;
};

class ActionInterpreterTest : public EngineFixture {
 protected:
  void SetUp() override {
    EngineFixture::SetUp();
    engine.options = 0;
  }
  void TearDown() override { clearKeymaps(engine); }
  Events run(const Bytes& bytes) {
    records.emplace_back(bytes);
    executeAction(engine, records.back().get());
    return output.take();
  }
  const uint8_t* activate(const Bytes& bytes, int index) {
    records.emplace_back(bytes);
    engine.activeCharList = records.back().get();
    engine.charIndex = index;
    engine.entryTyped = true;  // as the entry at `index` was
    return engine.activeCharList;
  }
  RecordingCommandSink window;
  std::vector<ExactRecord> records;
};

TEST_F(ActionInterpreterTest, CharActionTypesItsFirstEntryAndBecomesActive) {
  activate(charAction({{1, 'T'}, {1, 'B'}}), 1);
  EXPECT_EQ(run(charAction({{0, '5'}, {1, 'T'}})), taps("5"));
  EXPECT_EQ(engine.activeCharList, records.back().get());
  EXPECT_EQ(engine.charIndex, 0);
}

TEST_F(ActionInterpreterTest, CharActionClosesThePreviousListWithItsLatch) {
  engine.options = kOptionAutoCapsLock;
  activate(charAction({{1, 'T'}, {0, 'Q'}}), 1);  // stepped to a letter: latch
  EXPECT_EQ(run(charAction({{0, 'W'}})), join({kCapsLock, taps("W")}));
  EXPECT_EQ(engine.options, uint32_t{kOptionAutoCapsLock});
  EXPECT_EQ(engine.activeCharList, records.back().get());
  EXPECT_EQ(engine.charIndex, 0);

  activate(charAction({{0, 'Q'}, {1, 'T'}}), 1);  // a kana: no latch
  EXPECT_EQ(run(charAction({{0, 'W'}})), taps("W"));
}

TEST_F(ActionInterpreterTest, PartnerKeymapCommand) {
  const std::pair<int32_t, int32_t> partners[] = {
      {kSlotKana, kSlotAlphanumeric}, {kSlotAlphanumeric, kSlotKana}, {0, 1}, {9, 8}, {256, 257}};
  for (const auto& [from, to] : partners) {
    engine.activeKeymap = from;
    engine.toggleIndex = 3;
    engine.toggleKey = keyCodeOf(1);
    engine.firstStroke = keyCodeOf(2);
    activate(charAction({{1, 'T'}}), 0);
    EXPECT_TRUE(run(commandAction(kKeymapCommandPartnerKeymap, 0)).empty());
    EXPECT_EQ(engine.activeKeymap, to);
    EXPECT_EQ(engine.toggleIndex, 0);
    EXPECT_EQ(engine.toggleKey, 0);
    EXPECT_EQ(engine.firstStroke, keyCodeOf(2));
    EXPECT_EQ(engine.activeCharList, nullptr);
  }
}

TEST_F(ActionInterpreterTest, PartnerAndSelectCommandsCloseTheListWithItsLatch) {
  for (uint8_t command : {kKeymapCommandPartnerKeymap, kKeymapCommandSelectKeymap}) {
    engine.options = kOptionAutoCapsLock;
    activate(charAction({{1, 'T'}, {2, 'Q'}}), 1);
    run(commandAction(command, 5));
    EXPECT_EQ(engine.options, uint32_t{kOptionAutoCapsLock}) << int(command);
    EXPECT_TRUE(engine.capsLockPending) << int(command);
  }
}

TEST_F(ActionInterpreterTest, ImeToggleCommandKeepsTheList) {
  const uint8_t* list = activate(charAction({{1, 'T'}, {1, 'B'}}), 1);
  EXPECT_EQ(run(commandAction(kKeymapCommandImeOnOff, 0)),
            Events({down(0xA4), down(0x19), up(0x19), up(0xA4)}));
  EXPECT_EQ(engine.activeCharList, list);
  EXPECT_EQ(engine.charIndex, 1);
}

TEST_F(ActionInterpreterTest, ResetCommandClearsTheInputState) {
  activate(charAction({{1, 'T'}, {1, 'B'}}), 1);
  engine.toggleKey = keyCodeOf(1);
  engine.firstStroke = keyCodeOf(2);
  engine.toggleIndex = 2;
  engine.activeKeymap = 5;
  EXPECT_TRUE(run(commandAction(kKeymapCommandEndInput, 0)).empty());
  EXPECT_EQ(engine.activeCharList, nullptr);
  EXPECT_EQ(engine.charIndex, 0);
  EXPECT_EQ(engine.toggleKey, 0);
  EXPECT_EQ(engine.firstStroke, 0);
  EXPECT_EQ(engine.toggleIndex, 2);
  EXPECT_EQ(engine.activeKeymap, 5);
}

TEST_F(ActionInterpreterTest, SelectKeymapCommandTakesAnySlot) {
  for (uint8_t slot : {3, 12, 255}) {
    activate(charAction({{1, 'T'}}), 0);
    engine.toggleKey = keyCodeOf(1);
    engine.firstStroke = keyCodeOf(2);
    engine.toggleIndex = 2;
    EXPECT_TRUE(run(commandAction(kKeymapCommandSelectKeymap, slot)).empty());
    EXPECT_EQ(engine.activeKeymap, slot);
    EXPECT_EQ(engine.activeCharList, nullptr);
    EXPECT_EQ(engine.toggleKey, 0);
    EXPECT_EQ(engine.firstStroke, 0);
    EXPECT_EQ(engine.toggleIndex, 0);
  }
  // Slot 12 names no keymap: the engine then has no image to work with.
  run(commandAction(kKeymapCommandSelectKeymap, 12));
  EXPECT_EQ(activeKeymapImage(engine), nullptr);
}

TEST_F(ActionInterpreterTest, StepCommandsMoveTheActiveList) {
  const uint8_t* list = activate(charAction({{1, 'T'}, {1, 'B'}, {0, 'A'}}), 0);
  engine.toggleKey = keyCodeOf(1);
  EXPECT_EQ(run(commandAction(kKeymapCommandNextEntry, 0)), join({kBack, taps("KO")}));
  EXPECT_EQ(engine.charIndex, 1);
  EXPECT_EQ(engine.toggleKey, 0);
  EXPECT_EQ(engine.activeCharList, list);
  EXPECT_EQ(run(commandAction(kKeymapCommandPreviousEntry, 0)), join({kBack, taps("KA")}));
  EXPECT_EQ(run(commandAction(kKeymapCommandPreviousEntry, 0)), join({kBack, taps("A")}));
  EXPECT_EQ(engine.charIndex, 2);
}

TEST_F(ActionInterpreterTest, RawAndExecCloseTheListSoStepsSendNothing) {
  const Bytes closers[] = {rawAction({}), execAction("\\Windows\\calc.exe", "")};
  for (const Bytes& closer : closers) {
    activate(charAction({{1, 'T'}, {1, 'B'}, {0, 'A'}}), 0);
    run(closer);
    EXPECT_EQ(engine.activeCharList, nullptr);
    EXPECT_TRUE(run(commandAction(kKeymapCommandNextEntry, 0)).empty());
    EXPECT_TRUE(run(commandAction(kKeymapCommandPreviousEntry, 0)).empty());
  }
}

TEST_F(ActionInterpreterTest, RotateCommandPostsItsParameter) {
  engine.mainWindow = &window;
  const uint8_t* list = activate(charAction({{1, 'T'}, {1, 'B'}}), 1);
  run(commandAction(kKeymapCommandRotateScreen, 9));
  EXPECT_EQ(engine.activeCharList, list);  // the list stays for post-conversion
  EXPECT_EQ(engine.charIndex, 1);
  run(commandAction(kKeymapCommandRotateScreen, 0));
  ASSERT_EQ(window.posted.size(), 2u);
  EXPECT_EQ(window.posted[0].command, uint32_t{kCommandRotateScreen});
  EXPECT_EQ(window.posted[0].param, 9u);
  EXPECT_EQ(window.posted[1].param, 0u);

  engine.mainWindow = nullptr;
  EXPECT_TRUE(run(commandAction(kKeymapCommandRotateScreen, 1)).empty());
  EXPECT_EQ(window.posted.size(), 2u);
}

TEST_F(ActionInterpreterTest, UnknownCommandsAndKindsDoNothing) {
  engine.mainWindow = &window;
  const uint8_t* list = activate(charAction({{1, 'T'}, {1, 'B'}}), 1);
  engine.activeKeymap = 4;
  engine.toggleKey = keyCodeOf(1);
  const Bytes nothing[] = {commandAction(0, 1),   commandAction(kFirstUnusedKeymapCommand, 1),
                           commandAction(255, 1), nopAction(),
                           Bytes{5, 0},           Bytes{255}};
  for (const Bytes& record : nothing) {
    EXPECT_TRUE(run(record).empty());
    EXPECT_EQ(engine.activeCharList, list);
    EXPECT_EQ(engine.charIndex, 1);
    EXPECT_EQ(engine.activeKeymap, 4);
    EXPECT_EQ(engine.toggleKey, keyCodeOf(1));
  }
  EXPECT_TRUE(window.posted.empty());
  executeAction(engine, nullptr);
  EXPECT_TRUE(output.take().empty());
}

struct RawCase {
  const char* name;
  Bytes bytes;
  Events sent;
};

TEST_F(ActionInterpreterTest, RawSequencesStayWithinTheirCount) {
  const RawCase cases[] = {
      {"press and release", {1, 0x41, 2, 0x41}, {down(0x41), up(0x41)}},
      {"odd count", {1, 0x41, 2}, {down(0x41)}},
      {"skipped direction", {5, 1, 0x41, 2}, {down(0x41)}},
      {"two skipped", {0, 9, 1, 0x41}, {}},
      {"skip then release", {7, 2, 0x10, 1, 0x42}, {up(0x10)}},
      {"held keys stay down", {1, 0x10, 1, 0x41, 2, 0x41}, {down(0x10), down(0x41), up(0x41)}},
      {"empty", {}, {}},
      {"one byte", {1}, {}},
  };
  for (const RawCase& c : cases) {
    EXPECT_EQ(run(rawAction(c.bytes)), c.sent) << c.name;
  }
}

TEST_F(ActionInterpreterTest, RawCountNeverReadsPastTheRecord) {
  // Count bytes at the very end of the block: every step that could overrun
  // would be seen by the sanitizer.
  for (uint8_t count = 0; count < 8; ++count) {
    Bytes bytes = {kActionRaw, 0, count};
    for (uint8_t i = 0; i < count; ++i) bytes.push_back(1);  // press key 1, over and over
    Events presses;
    for (int i = 0; i < count / 2; ++i) presses.push_back(down(1));
    EXPECT_EQ(run(bytes), presses) << int(count);
  }
}

TEST_F(ActionInterpreterTest, ExecPostsTheAddressOfTheProgramPath) {
  engine.mainWindow = &window;
  engine.options = kOptionAutoCapsLock;
  activate(charAction({{1, 'T'}, {0, 'Z'}}), 1);
  EXPECT_TRUE(run(execAction("\\Windows\\pword.exe", "-n")).empty());
  const uint8_t* record = records.back().get();
  ASSERT_EQ(window.posted.size(), 1u);
  EXPECT_EQ(window.posted[0].command, uint32_t{kCommandRunProgram});
  EXPECT_EQ(window.posted[0].param, reinterpret_cast<uintptr_t>(execProgramPath(record)));
  const char* path = reinterpret_cast<const char*>(window.posted[0].param);
  EXPECT_STREQ(path, "\\Windows\\pword.exe");
  EXPECT_STREQ(execArgumentsAfter(path), "-n");
  EXPECT_EQ(engine.activeCharList, nullptr);
  EXPECT_TRUE(engine.capsLockPending);
}

TEST_F(ActionInterpreterTest, ExecWithoutMainWindowOnlyClosesTheList) {
  activate(charAction({{1, 'T'}, {1, 'B'}}), 1);
  EXPECT_TRUE(run(execAction("\\Windows\\pword.exe", "")).empty());
  EXPECT_EQ(engine.activeCharList, nullptr);
  EXPECT_EQ(engine.charIndex, 0);
  EXPECT_TRUE(window.posted.empty());
}

TEST_F(ActionInterpreterTest, RecordsOfAnInstalledImage) {
  TestKeymap keymap;
  keymap.keys[1].type = kKeyTypeToggle;
  keymap.keys[1].actions = {charAction({{1, 'F'}, {1, 'V'}}),
                            commandAction(kKeymapCommandNextEntry, 0),
                            rawAction({1, 0x0D, 2, 0x0D})};
  installTestKeymap(engine, kSlotKana, keymap);
  const KeymapImage& image = engine.keymaps[kSlotKana];
  const KeyRecord key = readKeyRecord(image, 1);
  executeAction(engine, keyActionRecord(image, key, 0));
  EXPECT_EQ(output.take(), taps("HA"));
  EXPECT_TRUE(isInsideImage(image, engine.activeCharList));
  executeAction(engine, keyActionRecord(image, key, 1));
  EXPECT_EQ(output.take(), join({kBack, taps("HI")}));
  executeAction(engine, keyActionRecord(image, key, 2));
  EXPECT_EQ(output.take(), Events({down(0x0D), up(0x0D)}));
  EXPECT_EQ(engine.activeCharList, nullptr);
}

}  // namespace
