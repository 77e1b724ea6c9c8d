#include "shell/hook_thread.h"

#ifndef _WIN32_WCE

// windows.h first: wtsapi32.h needs its types.
#include <wtsapi32.h>

#include <atomic>

#include "shell/hook_watchdog.h"
#include "shell/key_hook.h"

namespace {

constexpr const wchar_t* kHookWindowClass = L"padQuiltKanaHook";
constexpr UINT kRunWorkMessage = WM_APP + 1;
constexpr UINT_PTR kWatchdogTimer = 1;
// Longest wait for the thread to end when the program ends.
constexpr DWORD kStopWaitMs = 5000;

// A request of the UI thread, in this process's memory. Messages carry no
// pointer: anyone can send the window a message, and only a request that is
// really waiting here is run.
struct Work {
  HookThreadWork work;
  WPARAM argument;
  LRESULT answer;
};

HANDLE hookThread = nullptr;
DWORD hookThreadId = 0;
HWND hookWindow = nullptr;
std::atomic<Work*> pendingWork{nullptr};
std::atomic<bool> stopping{false};
// One request at a time.
CRITICAL_SECTION requestSection;

void runPendingWork() {
  Work* work = pendingWork.exchange(nullptr);
  if (work != nullptr) work->answer = work->work(work->argument);
}

// The input desktop changed (a UAC prompt, the lock screen, Ctrl+Alt+Del):
// the key-ups of that time go to the other desktop.
void CALLBACK onDesktopSwitch(HWINEVENTHOOK, DWORD, HWND, LONG, LONG, DWORD, DWORD) {
  forgetKeysHeldElsewhere();
}

LRESULT CALLBACK hookWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case kRunWorkMessage:
      runPendingWork();
      return 0;
    case WM_INPUT:
      noteKeyboardInput(static_cast<uint32_t>(GetMessageTime()));
      break;  // DefWindowProcW frees the input
    case WM_TIMER:
      if (wParam == kWatchdogTimer) {
        readInputClock();
        watchOverKeyHook();
      }
      return 0;
    case WM_WTSSESSION_CHANGE:
      if (wParam == WTS_SESSION_UNLOCK) forgetKeysHeldElsewhere();
      return 0;
    case WM_CLOSE:
      return 0;  // only the program ends this thread
    default:
      break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

struct StartInfo {
  HANDLE ready;
  bool started;
};

DWORD WINAPI runHookThread(void* parameter) {
  auto* start = static_cast<StartInfo*>(parameter);
  SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_ABOVE_NORMAL);
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSW windowClass = {};
  windowClass.lpfnWndProc = hookWindowProc;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = kHookWindowClass;
  RegisterClassW(&windowClass);
  // A hidden top-level window: session notifications reach it.
  HWND window = CreateWindowExW(WS_EX_TOOLWINDOW, kHookWindowClass, L"", WS_POPUP, 0, 0, 0, 0,
                                nullptr, nullptr, instance, nullptr);
  start->started = window != nullptr;
  hookWindow = window;
  if (window == nullptr) {
    SetEvent(start->ready);
    return 1;
  }
  watchKeyboardInput(window);
  const bool sessionWatched = WTSRegisterSessionNotification(window, NOTIFY_FOR_THIS_SESSION);
  HWINEVENTHOOK desktopSwitch =
      SetWinEventHook(EVENT_SYSTEM_DESKTOPSWITCH, EVENT_SYSTEM_DESKTOPSWITCH, nullptr,
                      onDesktopSwitch, 0, 0, WINEVENT_OUTOFCONTEXT);
  SetTimer(window, kWatchdogTimer, kWatchdogPeriodMs, nullptr);
  SetEvent(start->ready);

  for (;;) {
    MSG message;
    const BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got < 0) break;
    // A quit message that the program did not post is passed over.
    if (got == 0) {
      if (stopping.load()) break;
      continue;
    }
    DispatchMessageW(&message);
  }

  removeKeyHook();
  KillTimer(window, kWatchdogTimer);
  if (desktopSwitch != nullptr) UnhookWinEvent(desktopSwitch);
  if (sessionWatched) WTSUnRegisterSessionNotification(window);
  stopWatchingKeyboardInput();
  hookWindow = nullptr;
  DestroyWindow(window);
  return 0;
}

}  // namespace

bool startHookThread() {
  if (hookThread != nullptr) return true;
  static const bool sectionReady = [] {
    InitializeCriticalSection(&requestSection);
    return true;
  }();
  (void)sectionReady;
  stopping = false;
  StartInfo start = {CreateEventW(nullptr, TRUE, FALSE, nullptr), false};
  if (start.ready == nullptr) return false;
  DWORD id = 0;
  HANDLE thread = CreateThread(nullptr, 0, runHookThread, &start, 0, &id);
  if (thread != nullptr) WaitForSingleObject(start.ready, INFINITE);
  CloseHandle(start.ready);
  if (thread == nullptr) return false;
  if (!start.started) {
    WaitForSingleObject(thread, kStopWaitMs);
    CloseHandle(thread);
    return false;
  }
  hookThread = thread;
  hookThreadId = id;
  return true;
}

void stopHookThread() {
  if (hookThread == nullptr) return;
  stopping = true;
  PostThreadMessageW(hookThreadId, WM_QUIT, 0, 0);
  WaitForSingleObject(hookThread, kStopWaitMs);
  CloseHandle(hookThread);
  hookThread = nullptr;
  hookThreadId = 0;
}

bool hookThreadRunning() {
  return hookThread != nullptr;
}

LRESULT runOnHookThread(HookThreadWork work, WPARAM argument) {
  if (hookThread == nullptr || GetCurrentThreadId() == hookThreadId) return work(argument);
  EnterCriticalSection(&requestSection);
  Work request = {work, argument, 0};
  pendingWork.store(&request);
  SendMessageW(hookWindow, kRunWorkMessage, 0, 0);
  // Normally taken by now; taken back if the window did not run it.
  if (pendingWork.exchange(nullptr) == &request) request.answer = work(argument);
  LeaveCriticalSection(&requestSection);
  return request.answer;
}

HWND hookThreadWindow() {
  return hookWindow;
}

#endif
