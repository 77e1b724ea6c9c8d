// Random event streams over random hand-built keymaps, with random options,
// IME states and keymap reloads, checking what must hold after every event.
#include <gtest/gtest.h>

#include <map>
#include <random>

#include "engine/key_event.h"
#include "tests/support/engine_invariants.h"
#include "tests/support/image_builder.h"
#include "tests/support/test_doubles.h"

namespace {

using Random = std::mt19937;

uint32_t pick(Random& random, uint32_t below) {
  return std::uniform_int_distribution<uint32_t>(0, below - 1)(random);
}

template <typename T, size_t N>
T pickFrom(Random& random, const T (&values)[N]) {
  return values[pick(random, N)];
}

Bytes randomCharList(Random& random) {
  static const uint8_t modifiers[] = {0, 1, 2, 3, 4, 6, 8, 10, 17, 33, 0xFF};
  static const uint8_t keys[] = {'1', '3', '9', 'A', 'K', 'T', 'Z', 0xBB, 0xC0, 0xDB, 0xE2, 0x20};
  Bytes record = {kActionChar, 0};
  const uint32_t count = 1 + pick(random, 4);
  for (uint32_t i = 0; i < count; ++i) {
    record.push_back(pick(random, 8) == 0 ? static_cast<uint8_t>(pick(random, 256))
                                          : pickFrom(random, modifiers));
    record.push_back(pick(random, 8) == 0 ? static_cast<uint8_t>(pick(random, 256))
                                          : pickFrom(random, keys));
  }
  setCharListCount(record.data(), static_cast<uint8_t>(count));
  return record;
}

// Raw sequences here release every key they press, so that any key left down
// after an event can only come from typing.
Bytes balancedRaw(Random& random) {
  Bytes bytes;
  const uint32_t taps = pick(random, 3);
  for (uint32_t i = 0; i < taps; ++i) {
    const auto vk = static_cast<uint8_t>(pick(random, 256));
    bytes.insert(bytes.end(), {kRawPress, vk, kRawRelease, vk});
  }
  return rawAction(bytes);
}

Bytes randomAction(Random& random) {
  static const uint8_t parameters[] = {0, 1, 2, 4, 5, 6, 9, 10, 12, 255};
  switch (pick(random, 10)) {
    case 0:
      return nopAction();
    case 1:
    case 2:
      return commandAction(static_cast<uint8_t>(pick(random, 9)), pickFrom(random, parameters));
    case 3:
      return balancedRaw(random);
    case 4:
      return execAction("\\Windows\\a.exe", pick(random, 2) ? "" : "-x");
    case 5:
      return {static_cast<uint8_t>(5 + pick(random, 250)), 0};  // unknown kind
    default:
      return randomCharList(random);
  }
}

TestKeymap randomKeymap(Random& random) {
  TestKeymap keymap;
  for (uint32_t i = pick(random, 3); i > 0; --i) {
    keymap.leadingActions.push_back(randomAction(random));
  }
  for (TestKey& key : keymap.keys) {
    key.type = static_cast<uint16_t>(pick(random, 11));
    // Pair keys mostly get their row of twelve, but not always: the engine
    // must cope with any image that passes validation.
    const bool pairKey = key.type == 1 || key.type >= 6;
    const uint32_t count = pairKey && pick(random, 4) != 0 ? 12 : pick(random, 6);
    for (uint32_t i = 0; i < count; ++i) key.actions.push_back(randomAction(random));
  }
  return keymap;
}

// Random option bits and run-time latches (the screen turned, CapsLock
// pending).
void randomizeOptions(Random& random, EngineState& engine) {
  static const uint32_t modes[] = {kOptionKanaToggle, kOptionKanaToggle, kOptionTwoTouch,
                                   kOptionTwoTouch, kOptionKanaToggle | kOptionTwoTouch};
  static const uint32_t extras[] = {kOptionSwapCtrlCaps,
                                    kOptionSwapEscHankaku,
                                    kOptionNicoTouch,
                                    kOptionImeControl,
                                    kOptionAutoAdvance,
                                    kOptionAutoCapsLock,
                                    kOptionAdvanceAfterStep,
                                    rotationBehaviourBits(kRotationReleaseHook),
                                    rotationBehaviourBits(kRotationStandardKana),
                                    kOptionClearCancelsStroke};
  uint32_t options = pickFrom(random, modes);
  for (uint32_t extra : extras) {
    if (pick(random, 2)) options |= extra;
  }
  engine.options = options;
  engine.screenRotated = pick(random, 2) != 0;
  engine.capsLockPending = pick(random, 2) != 0;
}

uint32_t randomVk(Random& random) {
  static const uint32_t special[] = {0x08, 0x10, 0x11, 0x27, 0x14, 0x1B, 0xF0, 0xF3,
                                     0x41, 0xA0, 0xA2, 0xF4, 0x12, 0xA4, 0x5B};
  const uint32_t roll = pick(random, 100);
  if (roll < 60) return kKeypadVk[pick(random, kKeypadColumns)];
  if (roll < 85) return pickFrom(random, special);
  if (roll < 97) return pick(random, 256);
  return 256 + pick(random, 1000);
}

uint32_t randomMessage(Random& random) {
  static const uint32_t messages[] = {256, 256, 256, 257, 257, 257, 260, 261, 0, 258, 0xFFFFFFFF};
  return pickFrom(random, messages);
}

bool isSwapKey(uint32_t vk) {
  return vk == 0x11 || vk == 0xA2 || vk == 0xA3 || vk == 0x14 || vk == 0xF0 || vk == 0x1B ||
         vk == 0xF3 || vk == 0xF4;
}

class Stream {
 public:
  explicit Stream(uint32_t seed) : random_(seed) {
    engine_.keyOutput = &output_;
    engine_.imeControl = &ime_;
    setEngineDefaults(engine_);
    engine_.mainWindow = &sink_;
    for (TestKeymap& keymap : keymaps_) keymap = randomKeymap(random_);
    reload();
    randomizeOptions(random_, engine_);
    static const int32_t timeouts[] = {INT32_MIN, -5, 0, 1, 100, 1000, INT32_MAX};
    engine_.timeoutMs = pickFrom(random_, timeouts);
    selectModeKeymap(engine_);
    time_ = random_();
  }
  ~Stream() { clearKeymaps(engine_); }

  void run(int events) {
    for (int i = 0; i < events && !::testing::Test::HasFailure(); ++i) step();
  }

 private:
  // Any of the keymaps into any of the slots, every old image released.
  void reload() {
    clearKeymaps(engine_);
    for (uint32_t slot = 0; slot < kKeymapSlots; ++slot) {
      if (pick(random_, 3) != 0) installTestKeymap(engine_, slot, keymaps_[pick(random_, 3)]);
    }
  }

  void changeSomething() {
    switch (pick(random_, 6)) {
      case 0:
        reload();
        break;
      case 1:
        installTestKeymap(engine_, pick(random_, kKeymapSlots), keymaps_[pick(random_, 3)]);
        break;
      case 2:
        randomizeOptions(random_, engine_);
        selectModeKeymap(engine_);
        break;
      case 3: {
        static const int32_t slots[] = {0, 1, 2, 3, 4, 5, 6, 9, 10, 256, -1};
        engine_.activeKeymap = pickFrom(random_, slots);
        break;
      }
      case 4:
        // The session was locked: the key-ups of that time went elsewhere.
        forgetHeldKeys(engine_);
        for (bool& held : passedDown_) held = false;
        for (const KeyEvent& e : output_.take()) EXPECT_FALSE(e.down) << "forgetting pressed a key";
        break;
      default:
        ime_.open = pick(random_, 2);
        ime_.conversion = pick(random_, 64);
        ime_.composition = pick(random_, 2);
        ime_.answersOpen = pick(random_, 4) != 0;
        ime_.answersConversion = pick(random_, 4) != 0;
        break;
    }
  }

  void advanceTime() {
    switch (pick(random_, 6)) {
      case 0:
        time_ = random_();  // any jump, backwards included
        break;
      case 1:
        time_ += static_cast<uint32_t>(engine_.timeoutMs);  // exactly at the timeout
        break;
      default:
        time_ += pick(random_, 1500);
        break;
    }
  }

  void step() {
    if (pick(random_, 20) == 0) changeSomething();
    advanceTime();
    const uint32_t vk = randomVk(random_);
    const uint32_t message = randomMessage(random_);
    const bool own = pick(random_, 20) == 0;
    // Now and then typed into one of the program's own fields.
    const bool asTyped = pick(random_, 8) == 0;
    const bool swallowed = handleKeyEvent(engine_, {vk, message, time_, own, asTyped});
    if (!own && vk <= 0xFF) checkKeyUpFollowsPassedKeyDown(vk, message, swallowed);
    checkInvariants(vk, output_.take());
  }

  // A key whose key-down reached the system gets its key-up too.
  void checkKeyUpFollowsPassedKeyDown(uint32_t vk, uint32_t message, bool swallowed) {
    if (message == kMessageKeyUp || message == kMessageSysKeyUp) {
      EXPECT_FALSE(passedDown_[vk] && swallowed) << "key-up swallowed after a passed key-down";
      passedDown_[vk] = false;
    } else if ((message == kMessageKeyDown || message == kMessageSysKeyDown) && !swallowed) {
      passedDown_[vk] = true;
    }
  }

  void checkInvariants(uint32_t vk, const std::vector<KeyEvent>& injected) {
    EXPECT_EQ(brokenEngineInvariant(engine_), "");
    if (isSwapKey(vk)) {
      EXPECT_LE(injected.size(), 1u);  // a replayed key, not typing
      return;
    }
    // Every key typing pressed is released again before the event is done.
    std::map<uint8_t, int> held;
    for (const KeyEvent& e : injected) {
      held[e.vk] += e.down ? 1 : -1;
      EXPECT_GE(held[e.vk], 0) << "released before pressed: " << describe(injected);
    }
    for (const auto& entry : held) {
      EXPECT_EQ(entry.second, 0) << "left down: " << describe(injected);
    }
  }

  Random random_;
  EngineState engine_;
  RecordingKeyOutput output_;
  ScriptedIme ime_;
  RecordingCommandSink sink_;
  TestKeymap keymaps_[3];
  uint32_t time_ = 0;
  bool passedDown_[256] = {};
};

TEST(KeypadPropertyTest, RandomEventStreamsKeepTheEngineConsistent) {
  for (uint32_t seed = 1; seed <= 3000 && !HasFailure(); ++seed) {
    SCOPED_TRACE(seed);
    Stream stream(seed);
    stream.run(150);
  }
}

}  // namespace
