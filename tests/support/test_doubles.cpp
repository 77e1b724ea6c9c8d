#include "tests/support/test_doubles.h"

#include <cstdio>
#include <ostream>

#include "engine/engine_state.h"
#include "engine/virtual_keys.h"

namespace {

struct NamedKey {
  uint8_t vk;
  const char* name;
};

// The keys engine tests meet, in the simulator's words; F8 and F9 are the
// keypad's * and #.
constexpr NamedKey kNamedKeys[] = {
    {kVkBack, "Backspace"},      {0x09, "Tab"},
    {kVkReturn, "Enter"},        {kVkShift, "Shift"},
    {kVkControl, "Ctrl"},        {kVkMenu, "Alt"},
    {kVkCapital, "CapsLock"},    {kVkKanji, "Kanji"},
    {kVkEscape, "Esc"},          {0x20, "Space"},
    {kVkRight, "Right"},         {kKeypadVk[9], "F8"},
    {kKeypadVk[11], "F9"},       {kVkLeftShift, "LShift"},
    {kVkRightShift, "RShift"},   {kVkLeftControl, "LCtrl"},
    {kVkRightControl, "RCtrl"},  {kVkLeftMenu, "LAlt"},
    {kVkRightMenu, "RAlt"},      {kVkDbeAlphanumeric, "Eisu"},
    {kVkDbeSbcsChar, "Hankaku"}, {kVkDbeDbcsChar, "Zenkaku"},
};

std::string eventText(const KeyEvent& event) {
  std::string text = event.down ? "+" : "-";
  const uint8_t vk = event.vk;
  if ((vk >= '0' && vk <= '9') || (vk >= 'A' && vk <= 'Z')) return text + static_cast<char>(vk);
  for (const NamedKey& key : kNamedKeys) {
    if (key.vk == vk) return text + key.name;
  }
  char hex[8];
  std::snprintf(hex, sizeof hex, "0x%02X", vk);
  return text + hex;
}

}  // namespace

std::vector<KeyEvent> taps(const std::string& keys) {
  std::vector<KeyEvent> events;
  for (char key : keys) {
    events.push_back(down(static_cast<uint8_t>(key)));
    events.push_back(up(static_cast<uint8_t>(key)));
  }
  return events;
}

Events join(std::initializer_list<Events> parts) {
  Events all;
  for (const Events& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

std::string describe(const std::vector<KeyEvent>& events) {
  std::string text;
  for (const KeyEvent& event : events) {
    if (!text.empty()) text += ' ';
    text += eventText(event);
  }
  return text;
}

void PrintTo(const KeyEvent& event, std::ostream* os) {
  *os << eventText(event);
}

void PrintTo(const std::vector<KeyEvent>& events, std::ostream* os) {
  *os << (events.empty() ? "(no events)" : describe(events));
}

std::vector<KeyEvent> RecordingKeyOutput::take() {
  std::vector<KeyEvent> result;
  result.swap(events);
  return result;
}

void ScriptedIme::setOpen(bool value) {
  open = value;
  calls.push_back(value ? "open" : "close");
}

void ScriptedIme::setConversionMode(uint32_t value, uint32_t sentence) {
  conversion = value;
  calls.push_back("mode " + std::to_string(value) + " " + std::to_string(sentence));
}
