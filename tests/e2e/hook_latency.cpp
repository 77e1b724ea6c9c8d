// The keyboard hook's time per key event under wine, measured around the
// real hook procedure on the program's own hook thread: keypad keys 2 and 3
// pressed in turn (each press types a kana) with the default keymap while
// the foreground window's thread takes its messages, and while it is busy
// (it neither answers its IME window nor takes messages, for less than the
// 5 s after which Windows counts it as hung). Prints the median, the 99th
// percentile and the worst time per event (key-downs and key-ups) for each
// case, and the engine's questions to the IME with the longest wait. Not a
// test: it reports.
//
// Usage: hook_latency KEYMAP.TXT [PRESSES]
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "engine/engine_state.h"
#include "shell/engine_lock.h"
#include "shell/hook_thread.h"
#include "shell/key_hook.h"
#include "shell/keymap_loading.h"
#include "shell/shell_state.h"
#include "shell/win32_ime_control.h"
#include "shell/win32_key_output.h"
#include "shell/win32_system_keys.h"

namespace {

// The program's IME access, counting the questions and the longest wait.
struct CountingIme final : ImeControl {
  Win32ImeControl real;
  int questions = 0;
  DWORD longestWaitMs = 0;

  ImeAnswer openStatus() override {
    const DWORD start = GetTickCount();
    const ImeAnswer answer = real.openStatus();
    note(start);
    return answer;
  }
  ImeAnswer conversionStatus() override {
    const DWORD start = GetTickCount();
    const ImeAnswer answer = real.conversionStatus();
    note(start);
    return answer;
  }
  void setOpen(bool open) override { real.setOpen(open); }
  void setConversionMode(uint32_t conversion, uint32_t sentence) override {
    real.setConversionMode(conversion, sentence);
  }
  uint32_t compositionLength() override { return real.compositionLength(); }
  void note(DWORD start) {
    ++questions;
    longestWaitMs = std::max<DWORD>(longestWaitMs, GetTickCount() - start);
  }
};

CountingIme countingIme;
LARGE_INTEGER frequency;
std::vector<double> durationsMs;  // of the events handled by the engine
std::atomic<bool> measuring{false};

bool engineEvent(int code, LPARAM event) {
  const auto* key = reinterpret_cast<const KBDLLHOOKSTRUCT*>(event);
  return code == HC_ACTION && key != nullptr && key->dwExtraInfo != kOwnEventExtraInfo;
}

// The real procedure, timed.
LRESULT CALLBACK timedHookProc(int code, WPARAM message, LPARAM event) {
  LARGE_INTEGER start;
  LARGE_INTEGER end;
  QueryPerformanceCounter(&start);
  const LRESULT answer = keyHookProc(code, message, event);
  QueryPerformanceCounter(&end);
  if (measuring && engineEvent(code, event)) {
    durationsMs.push_back(1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) /
                          static_cast<double>(frequency.QuadPart));
  }
  return answer;
}

HHOOK WINAPI setTimedHook(int type, HOOKPROC, HINSTANCE instance, DWORD thread) {
  return SetWindowsHookExW(type, timedHookProc, instance, thread);
}

// The foreground window, on a thread of its own.
std::atomic<bool> busy{false};
std::atomic<bool> quit{false};
HWND foreground = nullptr;

DWORD WINAPI runForeground(void* ready) {
  // Not an edit field: keys typed into the program's own fields mean
  // themselves.
  WNDCLASSW windowClass = {};
  windowClass.lpfnWndProc = DefWindowProcW;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = L"pqkLatencyWindow";
  RegisterClassW(&windowClass);
  foreground = CreateWindowExW(0, L"pqkLatencyWindow", L"", WS_POPUP | WS_VISIBLE, 100, 100, 300,
                               100, nullptr, nullptr, windowClass.hInstance, nullptr);
  SetForegroundWindow(foreground);
  SetFocus(foreground);
  SetEvent(static_cast<HANDLE>(ready));
  while (!quit) {
    if (busy) {
      Sleep(20);  // takes no messages: its IME window does not answer
      continue;
    }
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
  }
  return 0;
}

void press(BYTE vk) {
  INPUT inputs[2] = {};
  for (INPUT& input : inputs) {
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
  }
  inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(2, inputs, sizeof(INPUT));
}

void report(const char* what, std::vector<double> times) {
  if (times.empty()) {
    printf("%-52s no events measured\n", what);
    return;
  }
  std::sort(times.begin(), times.end());
  const double median = times[times.size() / 2];
  const double p99 = times[std::min(times.size() - 1, times.size() * 99 / 100)];
  printf("%-52s %4zu events  median %7.3f ms  p99 %7.3f ms  worst %7.3f ms\n", what, times.size(),
         median, p99, times.back());
}

void measure(const char* what, uint32_t options, bool foregroundBusy, int presses) {
  {
    EngineLock lock;
    shellState.engine.options = options;
    selectModeKeymap(shellState.engine);
  }
  busy = foregroundBusy;
  // Busy for at most 4 s at a time, then a pause to take messages, so that
  // the thread never counts as hung.
  durationsMs.clear();
  measuring = true;
  DWORD busySince = GetTickCount();
  for (int i = 0; i < presses; ++i) {
    if (foregroundBusy && GetTickCount() - busySince > 4000) {
      busy = false;
      Sleep(200);
      busy = true;
      busySince = GetTickCount();
    }
    // 2 and 3 in turn: each press starts a character and ends the one before.
    press(i % 2 == 0 ? '2' : '3');
    Sleep(30);
  }
  Sleep(200);
  measuring = false;
  busy = false;
  Sleep(300);
  report(what, durationsMs);
  printf("%-52s %4d IME questions, longest wait %lu ms\n", "", countingIme.questions,
         countingIme.longestWaitMs);
  countingIme.questions = 0;
  countingIme.longestWaitMs = 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    fprintf(stderr, "usage: hook_latency KEYMAP.TXT [PRESSES]\n");
    return 2;
  }
  const int presses = argc >= 3 ? std::max(10, atoi(argv[2])) : 200;
  QueryPerformanceFrequency(&frequency);
  static Win32KeyOutput keyOutput;
  static Win32SystemKeyState systemKeys;
  EngineState& engine = shellState.engine;
  engine.keyOutput = &keyOutput;
  engine.imeControl = &countingIme;
  engine.systemKeys = &systemKeys;
  setEngineDefaults(engine);
  shellState.instance = GetModuleHandleW(nullptr);
  MultiByteToWideChar(CP_ACP, 0, argv[1], -1, shellState.keymapPath, kPathUnits);
  loadConfiguredKeymaps(nullptr);

  HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  HANDLE thread = CreateThread(nullptr, 0, runForeground, ready, 0, nullptr);
  WaitForSingleObject(ready, 10000);
  hookPlatform.setWindowsHookEx = setTimedHook;
  if (!startHookThread() || !installKeyHook(false)) {
    fprintf(stderr, "hook_latency: no hook\n");
    return 1;
  }
  const uint32_t kana = kDefaultOptions | kOptionKanaToggle;
  measure("kana toggle, foreground taking its messages", kana, false, presses);
  measure("kana toggle, foreground busy", kana, true, presses);
  measure("kana toggle + IME制御, foreground busy", kana | kOptionImeControl, true, presses);
  measure("2-touch, foreground busy", kDefaultOptions | kOptionTwoTouch, true, presses);
  removeKeyHook();
  stopHookThread();
  quit = true;
  WaitForSingleObject(thread, 5000);
  clearKeymaps(engine);
  return 0;
}
