#include "sim/tool/live_terminal.h"

#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>

#include "sim/views/live_input.h"
#include "sim/views/live_screen.h"

namespace {

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

void draw(const SimDevice& device, const std::string& keymapPath) {
  std::printf("\x1b[H\x1b[2J%s", liveScreen(device, keymapPath).c_str());
  std::fflush(stdout);
}

}  // namespace

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
