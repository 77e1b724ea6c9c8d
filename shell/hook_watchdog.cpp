#include "shell/hook_watchdog.h"

#ifndef _WIN32_WCE

#include <atomic>

namespace {

// Set by the hook procedure and the hook thread's window; read by its timer.
std::atomic<uint32_t> lastHookCall{0};
std::atomic<uint32_t> lastKeyboardInput{0};
std::atomic<bool> rawInputWatched{false};

constexpr USHORT kGenericDesktopPage = 0x01;
constexpr USHORT kKeyboardUsage = 0x06;

}  // namespace

void noteHookCall(uint32_t time) {
  lastHookCall.store(time, std::memory_order_relaxed);
}

void noteKeyboardInput(uint32_t time) {
  lastKeyboardInput.store(time, std::memory_order_relaxed);
}

void restartWatchdog(uint32_t now) {
  lastHookCall.store(now, std::memory_order_relaxed);
  lastKeyboardInput.store(now, std::memory_order_relaxed);
}

bool hookMissedInput() {
  const auto silence = static_cast<int32_t>(lastKeyboardInput.load(std::memory_order_relaxed) -
                                            lastHookCall.load(std::memory_order_relaxed));
  return silence >= static_cast<int32_t>(kHookSilenceMs);
}

bool watchKeyboardInput(HWND window) {
  RAWINPUTDEVICE keyboard = {kGenericDesktopPage, kKeyboardUsage, RIDEV_INPUTSINK, window};
  const bool watched = RegisterRawInputDevices(&keyboard, 1, sizeof(keyboard)) != FALSE;
  rawInputWatched.store(watched);
  return watched;
}

void stopWatchingKeyboardInput() {
  if (!rawInputWatched.exchange(false)) return;
  RAWINPUTDEVICE keyboard = {kGenericDesktopPage, kKeyboardUsage, RIDEV_REMOVE, nullptr};
  RegisterRawInputDevices(&keyboard, 1, sizeof(keyboard));
}

void readInputClock() {
  if (rawInputWatched.load()) return;
  LASTINPUTINFO info = {};
  info.cbSize = sizeof(info);
  if (GetLastInputInfo(&info)) noteKeyboardInput(info.dwTime);
}

#endif
