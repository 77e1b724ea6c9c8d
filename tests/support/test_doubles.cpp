#include "tests/support/test_doubles.h"

#include <ostream>

#include "engine/key_names.h"

namespace {

std::string eventText(const KeyEvent& event) {
  return (event.down ? "+" : "-") + virtualKeyNameOrHex(event.vk);
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
