#include "sim/views/live_input.h"

#include "engine/key_event.h"
#include "sim/device/device_keyboard.h"
#include "sim/device/sim_script.h"

namespace {

constexpr char kEscape = 0x1B;

// Keys of the sequences ESC [ X, ESC O X and ESC [ N ~.
uint8_t escapeSequenceKey(const std::string& sequence) {
  static const struct {
    const char* sequence;
    uint8_t vk;
  } kSequences[] = {
      {"[A", 0x26},  {"[B", 0x28},  {"[C", 0x27},  {"[D", 0x25},  {"OA", 0x26},  {"OB", 0x28},
      {"OC", 0x27},  {"OD", 0x25},  {"[H", 0x24},  {"[F", 0x23},  {"OH", 0x24},  {"OF", 0x23},
      {"[1~", 0x24}, {"[4~", 0x23}, {"[2~", 0x2D}, {"[3~", 0x2E}, {"[5~", 0x21}, {"[6~", 0x22},
  };
  for (const auto& known : kSequences) {
    if (sequence == known.sequence) return known.vk;
  }
  return 0;
}

}  // namespace

LiveKey liveKeyFor(char c, SimLayout layout) {
  if (c == 0x7F || c == 0x08) return {kVkBack, false};
  if (c == '\r' || c == '\n') return {kVkReturn, false};
  if (const uint8_t keypad = keypadVirtualKey(c)) return {keypad, false};
  const LayoutStroke stroke = layoutStrokeFor(layout, c);
  return {stroke.vk, stroke.shift};
}

std::vector<LiveInput> decodeTerminalInput(const std::string& bytes, SimLayout layout) {
  std::vector<LiveInput> inputs;
  size_t i = 0;
  while (i < bytes.size()) {
    const char c = bytes[i++];
    if (c == 0x03 || c == 0x04) {
      inputs.push_back({LiveInputKind::kQuit, {}});
    } else if (c == '\t') {
      inputs.push_back({LiveInputKind::kSwitchIme, {}});
    } else if (c == kEscape && i < bytes.size() && (bytes[i] == '[' || bytes[i] == 'O')) {
      // The sequence runs to its final byte, a letter or ~.
      size_t end = i + 1;
      while (end < bytes.size() && !((bytes[end] >= 0x40 && bytes[end] <= 0x7E))) ++end;
      const std::string sequence = bytes.substr(i, end + 1 - i);
      i = end + 1;
      const uint8_t vk = escapeSequenceKey(sequence);
      if (vk != 0) inputs.push_back({LiveInputKind::kKey, {vk, false}});
    } else if (c == kEscape) {
      inputs.push_back({LiveInputKind::kKey, {kVkEscape, false}});
    } else {
      const LiveKey key = liveKeyFor(c, layout);
      if (key.vk != 0) inputs.push_back({LiveInputKind::kKey, key});
    }
  }
  return inputs;
}

bool applyLiveInput(SimDevice& device, const LiveInput& input) {
  switch (input.kind) {
    case LiveInputKind::kQuit:
      return false;
    case LiveInputKind::kSwitchIme:
      device.switchIme(!device.ime().imeOn());
      return true;
    case LiveInputKind::kKey:
      break;
  }
  if (input.key.shift) device.keyEvent(kVkShift, true);
  device.keyEvent(input.key.vk, true);
  device.keyEvent(input.key.vk, false);
  if (input.key.shift) device.keyEvent(kVkShift, false);
  return true;
}
