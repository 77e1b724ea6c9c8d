#include "sim/live_terminal.h"

#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>

#include "engine/key_event.h"
#include "sim/device_keyboard.h"
#include "sim/live_screen.h"
#include "sim/sim_script.h"

namespace {

constexpr char kEscape = 0x1B;

// Puts the terminal into character-at-a-time mode while it lives. Ctrl-C is
// read as a key, so the terminal is always restored.
class RawTerminal {
 public:
  RawTerminal() {
    active_ = tcgetattr(STDIN_FILENO, &saved_) == 0;
    if (!active_) return;
    termios raw = saved_;
    raw.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO | ISIG);
    raw.c_cc[VMIN] = 1;
    raw.c_cc[VTIME] = 0;
    tcsetattr(STDIN_FILENO, TCSANOW, &raw);
  }
  ~RawTerminal() {
    if (active_) tcsetattr(STDIN_FILENO, TCSANOW, &saved_);
  }
  RawTerminal(const RawTerminal&) = delete;
  RawTerminal& operator=(const RawTerminal&) = delete;

 private:
  termios saved_{};
  bool active_ = false;
};

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

void draw(const SimDevice& device, const std::string& keymapPath) {
  std::printf("\x1b[H\x1b[2J%s", liveScreen(device, keymapPath).c_str());
  std::fflush(stdout);
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

int runLive(SimDevice& device, const std::string& keymapPath) {
  if (!isatty(STDIN_FILENO)) {
    std::fprintf(stderr, "padquiltkana-sim: live needs a terminal; use type for scripts\n");
    return 2;
  }
  RawTerminal terminal;
  const auto start = std::chrono::steady_clock::now();
  draw(device, keymapPath);
  char buffer[64];
  for (;;) {
    const ssize_t n = read(STDIN_FILENO, buffer, sizeof buffer);
    if (n <= 0) break;
    const auto elapsed = std::chrono::steady_clock::now() - start;
    device.setTime(static_cast<uint32_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count()));
    for (const LiveInput& input :
         decodeTerminalInput(std::string(buffer, static_cast<size_t>(n)), device.layout())) {
      if (!applyLiveInput(device, input)) {
        std::printf("\n");
        return 0;
      }
    }
    draw(device, keymapPath);
  }
  std::printf("\n");
  return 0;
}
