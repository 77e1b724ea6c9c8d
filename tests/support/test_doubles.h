// Recording and scripted platform implementations for engine tests.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <iosfwd>
#include <map>
#include <string>
#include <vector>

#include "engine/key_set.h"
#include "engine/platform.h"

struct KeyEvent {
  bool down;
  uint8_t vk;
  bool operator==(const KeyEvent& other) const { return down == other.down && vk == other.vk; }
};

using Events = std::vector<KeyEvent>;

inline KeyEvent down(uint8_t vk) {
  return {true, vk};
}
inline KeyEvent up(uint8_t vk) {
  return {false, vk};
}
// down then up of the same key
std::vector<KeyEvent> taps(const std::string& keys);
// The parts one after another.
Events join(std::initializer_list<Events> parts);

// The events as the keys they are, named as engine/key_names.h names them
// (in hex without a name), "+" for a key-down and "-" for a key-up. A tap of
// K then Shift+1: "+K -K +Shift +1 -1 -Shift".
std::string describe(const std::vector<KeyEvent>& events);

// GoogleTest prints recorded events in every failed assertion this way.
void PrintTo(const KeyEvent& event, std::ostream* os);
void PrintTo(const std::vector<KeyEvent>& events, std::ostream* os);

// Keeps every injected event in order.
struct RecordingKeyOutput final : KeyOutput {
  std::vector<KeyEvent> events;
  void sendKeyDown(uint8_t vk) override { events.push_back({true, vk}); }
  void sendKeyUp(uint8_t vk) override { events.push_back({false, vk}); }
  // Returns and forgets the events recorded so far.
  std::vector<KeyEvent> take();
};

// An IME whose answers the test sets, logging every set call and counting
// the questions. A question it does not answer goes unanswered, as a hung
// application's does.
struct ScriptedIme final : ImeControl {
  bool open = false;
  uint32_t conversion = 0;
  uint32_t composition = 0;
  bool answersOpen = true;
  bool answersConversion = true;
  std::vector<std::string> calls;
  int questions = 0;

  ImeAnswer openStatus() override {
    ++questions;
    return answersOpen ? imeAnswered(open ? 1 : 0) : kImeUnanswered;
  }
  ImeAnswer conversionStatus() override {
    ++questions;
    return answersConversion ? imeAnswered(conversion) : kImeUnanswered;
  }
  void setOpen(bool value) override;
  void setConversionMode(uint32_t value, uint32_t sentence) override;
  uint32_t compositionLength() override {
    ++questions;
    return composition;
  }
};

// The system's key state as the test sets it.
struct ScriptedKeyState final : SystemKeyState {
  KeySet down;
  bool isKeyDown(uint8_t vk) override { return keySetHas(down, vk); }
};

// A keyboard layout the test writes: the key of each character it lists;
// every other character has none.
struct ScriptedLayout final : KeyboardLayout {
  std::map<char16_t, LayoutKey> keys;
  int questions = 0;
  LayoutKey keyForCharacter(char16_t character) override {
    ++questions;
    const auto found = keys.find(character);
    return found == keys.end() ? LayoutKey{} : found->second;
  }
};

struct PostedCommand {
  uint32_t command;
  uintptr_t param;
};

struct RecordingCommandSink final : WindowCommandSink {
  std::vector<PostedCommand> posted;
  void postWindowCommand(uint32_t command, uintptr_t param) override {
    posted.push_back({command, param});
  }
};
