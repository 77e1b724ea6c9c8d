#include "sim/live_terminal.h"

#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>

#include "engine/key_event.h"
#include "sim/sim_script.h"

namespace {

constexpr uint8_t kVkReturn = 0x0D;

const char* columnName(int32_t marker) {
  static const char* const kNames[] = {"1", "2", "3", "4", "5", "6", "7", "8", "9", "*", "0", "#"};
  const int column = marker & 0xF;
  return column < 12 ? kNames[column] : "?";
}

// Puts the terminal into character-at-a-time mode while it lives.
class RawTerminal {
 public:
  RawTerminal() {
    active_ = tcgetattr(STDIN_FILENO, &saved_) == 0;
    if (!active_) return;
    termios raw = saved_;
    raw.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO);
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

void draw(const SimDevice& device, const std::string& keymapPath) {
  const DeviceIme& ime = device.ime();
  std::printf("\x1b[H\x1b[2J");
  std::printf("padquiltkana-sim live   keymap: %s\n", keymapPath.c_str());
  std::printf("keys: 0-9 * # keypad, right arrow confirms, Backspace = clear key,\n");
  std::printf("      Enter, Tab switches the IME, q quits\n\n");
  std::printf("text:        %s\n", device.text().c_str());
  std::printf("composition: %s\n", ime.composition().c_str());
  std::printf("%s\n", describeInputState(device).c_str());
  std::fflush(stdout);
}

}  // namespace

std::string describeInputState(const SimDevice& device) {
  const EngineState& engine = device.engine();
  std::string text = "IME " + std::string(device.ime().imeOn() ? "on" : "off");
  text += "  slot " + (engine.activeKeymap >= 0 && engine.activeKeymap <= 9
                           ? std::to_string(engine.activeKeymap)
                           : std::string("none"));
  if (engine.toggleKey != 0) {
    text += "  toggle: key " + std::string(columnName(engine.toggleKey)) + " candidate " +
            std::to_string(engine.toggleIndex + 1);
  } else {
    text += "  toggle: -";
  }
  text += "  first stroke: " +
          std::string(engine.firstStroke != 0 ? columnName(engine.firstStroke) : "-");
  if (engine.activeCharList != nullptr) {
    text += "  char list: entry " + std::to_string(engine.charIndex + 1) + " of " +
            std::to_string(charListCount(engine.activeCharList));
  } else {
    text += "  char list: -";
  }
  return text;
}

uint8_t liveVirtualKey(char key) {
  if (key == 0x7F || key == 0x08) return kVkBack;
  if (key == '\r' || key == '\n') return kVkReturn;
  return keypadVirtualKey(key);
}

int runLive(SimDevice& device, const std::string& keymapPath) {
  if (!isatty(STDIN_FILENO)) {
    std::fprintf(stderr, "padquiltkana-sim: live needs a terminal; use type for scripts\n");
    return 2;
  }
  RawTerminal terminal;
  const auto start = std::chrono::steady_clock::now();
  draw(device, keymapPath);
  int escape = 0;  // position inside an ESC [ C sequence
  char key = 0;
  while (read(STDIN_FILENO, &key, 1) == 1) {
    if (key == 'q') break;
    const auto elapsed = std::chrono::steady_clock::now() - start;
    device.setTime(static_cast<uint32_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count()));
    uint8_t vk = 0;
    if (escape == 0 && key == 0x1B) {
      escape = 1;
      continue;
    }
    if (escape == 1) {
      escape = key == '[' ? 2 : 0;
      continue;
    }
    if (escape == 2) {
      escape = 0;
      if (key == 'C') vk = kVkRight;
    } else if (key == '\t') {
      device.switchIme(!device.ime().imeOn());
    } else {
      vk = liveVirtualKey(key);
    }
    if (vk != 0) {
      device.keyEvent(vk, true);
      device.keyEvent(vk, false);
    }
    draw(device, keymapPath);
  }
  std::printf("\n");
  return 0;
}
