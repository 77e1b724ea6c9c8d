// The desktop IME access: WM_IME_CONTROL requests to the focused window's
// default IME window, and a window that does not answer leaves the question
// unanswered (not closed).
#include "shell/win32_ime_control.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <utility>
#include <vector>

namespace {

// A stand-in IME window that keeps an open status and a conversion mode.
struct FakeIme {
  DWORD_PTR open = 0;
  DWORD_PTR conversion = 0;
  std::vector<std::pair<WPARAM, LPARAM>> requests;
};
FakeIme fake;
HWND fakeWindow = nullptr;
HWND hungWindow = nullptr;

LRESULT CALLBACK fakeImeProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_IME_CONTROL) return DefWindowProcW(window, message, wParam, lParam);
  fake.requests.push_back({wParam, lParam});
  switch (wParam) {
    case 1:
      return static_cast<LRESULT>(fake.conversion);  // IMC_GETCONVERSIONMODE
    case 2:
      fake.conversion = static_cast<DWORD_PTR>(lParam);
      return 0;
    case 5:
      return static_cast<LRESULT>(fake.open);  // IMC_GETOPENSTATUS
    case 6:
      fake.open = static_cast<DWORD_PTR>(lParam);
      return 0;
    default:
      return 0;
  }
}

HWND createFakeImeWindow() {
  WNDCLASSW windowClass = {};
  windowClass.lpfnWndProc = fakeImeProc;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = L"pqkFakeIme";
  RegisterClassW(&windowClass);
  return CreateWindowExW(0, L"pqkFakeIme", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                         GetModuleHandleW(nullptr), nullptr);
}

HWND findFake() {
  return fakeWindow;
}
HWND findHung() {
  return hungWindow;
}
HWND findNothing() {
  return nullptr;
}

TEST(Win32ImeControl, TalksToTheImeWindow) {
  fake = FakeIme{};
  fakeWindow = createFakeImeWindow();
  ASSERT_NE(fakeWindow, nullptr);
  Win32ImeControl ime;
  ime.findImeWindow = findFake;

  auto answered = [](ImeAnswer answer, uint32_t value) {
    return answer.known && answer.value == value;
  };
  EXPECT_TRUE(answered(ime.openStatus(), 0));
  ime.setOpen(true);
  EXPECT_TRUE(answered(ime.openStatus(), 1));
  ime.setConversionMode(25, 0);
  EXPECT_TRUE(answered(ime.conversionStatus(), 25));
  ime.setOpen(false);
  EXPECT_TRUE(answered(ime.openStatus(), 0));
  EXPECT_EQ(ime.compositionLength(), 0u);
  using Requests = std::vector<std::pair<WPARAM, LPARAM>>;
  EXPECT_EQ(fake.requests, (Requests{{5, 0}, {6, 1}, {5, 0}, {2, 25}, {1, 0}, {6, 0}, {5, 0}}));
  DestroyWindow(fakeWindow);
}

// A window whose thread has stopped answering.
DWORD WINAPI runHungWindow(void* ready) {
  hungWindow = createFakeImeWindow();
  SetEvent(static_cast<HANDLE>(ready));
  Sleep(1500);
  // Recovers: answers what is still waiting, then goes.
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
  DestroyWindow(hungWindow);
  return 0;
}

// A window of the asking thread, and whether a message sent to it by another
// thread was handled while that thread waited for the IME.
std::atomic<bool> waitingForIme{false};
std::atomic<bool> handledWhileWaiting{false};

LRESULT CALLBACK notingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_USER) {
    if (waitingForIme) handledWhileWaiting = true;
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

TEST(Win32ImeControl, UnansweredRequestsStayUnansweredAndReturnSoon) {
  fake = FakeIme{};
  fake.open = 1;
  fake.conversion = 25;
  HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  HANDLE thread = CreateThread(nullptr, 0, runHungWindow, ready, 0, nullptr);
  ASSERT_EQ(WaitForSingleObject(ready, 5000), WAIT_OBJECT_0);
  Win32ImeControl ime;
  ime.findImeWindow = findHung;
  WNDCLASSW windowClass = {};
  windowClass.lpfnWndProc = notingProc;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = L"pqkNotingWindow";
  RegisterClassW(&windowClass);
  HWND mine = CreateWindowExW(0, L"pqkNotingWindow", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                              windowClass.hInstance, nullptr);
  ASSERT_NE(mine, nullptr);
  handledWhileWaiting = false;
  // In the hook, a message handled during the wait would be the system's next
  // call of the hook, in the middle of this one.
  std::thread sender([mine] {
    while (!waitingForIme) Sleep(1);
    SendMessageW(mine, WM_USER, 0, 0);
  });

  DWORD start = GetTickCount();
  waitingForIme = true;
  EXPECT_FALSE(ime.openStatus().known);  // not "closed": it is open
  waitingForIme = false;
  EXPECT_FALSE(ime.conversionStatus().known);
  ime.setOpen(false);
  EXPECT_LT(GetTickCount() - start, 1000u);
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
  sender.join();
  EXPECT_FALSE(handledWhileWaiting);
  WaitForSingleObject(thread, 10000);
  DestroyWindow(mine);
  CloseHandle(thread);
  CloseHandle(ready);
}

// A window whose thread takes each request, but answers it only after the
// asker gave up.
std::atomic<bool> slowWindowDone{false};

LRESULT CALLBACK slowImeProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_IME_CONTROL) return DefWindowProcW(window, message, wParam, lParam);
  fake.requests.push_back({wParam, lParam});
  Sleep(kImeQueryTimeoutMs + 10);
  return 1;
}

DWORD WINAPI runSlowWindow(void* ready) {
  WNDCLASSW windowClass = {};
  windowClass.lpfnWndProc = slowImeProc;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = L"pqkSlowIme";
  RegisterClassW(&windowClass);
  hungWindow = CreateWindowExW(0, L"pqkSlowIme", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                               windowClass.hInstance, nullptr);
  SetEvent(static_cast<HANDLE>(ready));
  while (!slowWindowDone) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    Sleep(1);
  }
  DestroyWindow(hungWindow);
  return 0;
}

// Each wait holds up every key of the system: an IME window that just let a
// request go unanswered is not asked again at once, within the same key
// event or the next ones, but after kImeQuietMs.
TEST(Win32ImeControl, AWindowThatLeftARequestUnansweredIsLeftAloneAWhile) {
  fake = FakeIme{};
  slowWindowDone = false;
  HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  HANDLE thread = CreateThread(nullptr, 0, runSlowWindow, ready, 0, nullptr);
  ASSERT_EQ(WaitForSingleObject(ready, 5000), WAIT_OBJECT_0);
  Win32ImeControl ime;
  ime.findImeWindow = findHung;
  EXPECT_FALSE(ime.openStatus().known);
  EXPECT_FALSE(ime.conversionStatus().known);
  ime.setOpen(true);
  Sleep(kImeQuietMs + 50);
  EXPECT_FALSE(ime.openStatus().known);  // asked again after the pause
  Sleep(100);
  slowWindowDone = true;
  WaitForSingleObject(thread, 5000);
  using Requests = std::vector<std::pair<WPARAM, LPARAM>>;
  EXPECT_EQ(fake.requests, (Requests{{5, 0}, {5, 0}}));
  CloseHandle(thread);
  CloseHandle(ready);
}

TEST(Win32ImeControl, NoImeWindowLeavesTheQuestionsUnanswered) {
  Win32ImeControl ime;
  ime.findImeWindow = findNothing;
  EXPECT_FALSE(ime.openStatus().known);
  EXPECT_FALSE(ime.conversionStatus().known);
  ime.setOpen(true);
  ime.setConversionMode(25, 0);
  EXPECT_EQ(ime.compositionLength(), 0u);
}

TEST(Win32ImeControl, FindsTheFocusedWindowsImeWindow) {
  HWND window = CreateWindowExW(0, L"STATIC", L"ime test", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                300, 200, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  HWND edit = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE, 10, 10, 200, 24, window,
                              nullptr, GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(edit, nullptr);
  SetForegroundWindow(window);
  SetFocus(edit);
  ASSERT_EQ(GetForegroundWindow(), window);
  EXPECT_EQ(focusedImeWindow(), ImmGetDefaultIMEWnd(edit));
  DestroyWindow(window);
  EXPECT_EQ(focusedImeWindow(), nullptr);
}

}  // namespace
