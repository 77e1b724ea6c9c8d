// A whole engine driven the way the keyboard hook drives it: key events into
// handleKeyEvent, injected events recorded, the IME scripted.
//
// How to write a test here: build the smallest keymap that shows the rule
// (TestKeymap with keyOf, letter, rowOfTwelve), press keypad columns with
// pressed(column, time) and compare what it returns with taps("KA") or
// backspaceThen(...). Other keys go in through event(vk, message).
#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "engine/engine_state.h"
#include "engine/key_event.h"
#include "tests/support/engine_fixture.h"
#include "tests/support/image_builder.h"

class KeypadFixture : public EngineFixture {
 protected:
  // 2-touch mode on slot 0: no IME-driven slot switch gets in the way.
  void useSlotZero(const TestKeymap& keymap, uint32_t extraOptions) {
    installTestKeymap(engine, 0, keymap);
    engine.options = kOptionTwoTouch | extraOptions;
    engine.activeKeymap = 0;
  }

  bool event(uint32_t vk, uint32_t message, uint32_t time = 0) {
    return handleKeyEvent(engine, {vk, message, time});
  }
  // Keypad key of a column pressed and released at `time`; returns what the
  // key-down answered.
  bool press(int column, uint32_t time = 0) {
    const bool swallowed = event(kKeypadVk[column], kMessageKeyDown, time);
    event(kKeypadVk[column], kMessageKeyUp, time);
    return swallowed;
  }
  std::vector<KeyEvent> pressed(int column, uint32_t time = 0) {
    press(column, time);
    return output.take();
  }
};

// Direct character entries that no remap column touches: typed as one tap.
inline Bytes letter(char c) {
  return charAction({{8, static_cast<uint8_t>(c)}});
}

inline std::vector<KeyEvent> backspaceThen(const std::vector<KeyEvent>& events) {
  std::vector<KeyEvent> all = {down(kVkBack), up(kVkBack)};
  all.insert(all.end(), events.begin(), events.end());
  return all;
}

inline TestKey keyOf(uint16_t type, std::vector<Bytes> actions) {
  TestKey key;
  key.type = type;
  key.actions = std::move(actions);
  return key;
}

// A row of twelve actions typing 'A'..'L' for a 2-touch first key.
inline std::vector<Bytes> rowOfTwelve(char first = 'A') {
  std::vector<Bytes> row;
  for (int i = 0; i < kKeypadColumns; ++i) row.push_back(letter(static_cast<char>(first + i)));
  return row;
}
