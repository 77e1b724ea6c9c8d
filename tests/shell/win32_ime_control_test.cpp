// The desktop IME access: WM_IME_CONTROL requests to the focused window's
// default IME window, and a window that does not answer leaves the question
// unanswered (not closed).
#include "shell/win32_ime_control.h"

#include <gtest/gtest.h>

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

TEST(Win32ImeControl, UnansweredRequestsStayUnansweredAndReturnSoon) {
  fake = FakeIme{};
  fake.open = 1;
  fake.conversion = 25;
  HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  HANDLE thread = CreateThread(nullptr, 0, runHungWindow, ready, 0, nullptr);
  ASSERT_EQ(WaitForSingleObject(ready, 5000), WAIT_OBJECT_0);
  Win32ImeControl ime;
  ime.findImeWindow = findHung;

  DWORD start = GetTickCount();
  EXPECT_FALSE(ime.openStatus().known);  // not "closed": it is open
  EXPECT_FALSE(ime.conversionStatus().known);
  ime.setOpen(false);
  EXPECT_LT(GetTickCount() - start, 1000u);
  WaitForSingleObject(thread, 10000);
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
