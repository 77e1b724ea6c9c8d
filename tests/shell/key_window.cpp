#include "tests/shell/key_window.h"

namespace {

KeyWindow* current = nullptr;
constexpr UINT kTakeFocusMessage = WM_APP + 7;

INPUT keyInput(BYTE vk, bool up) {
  INPUT input = {};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = vk;
  input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
  input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  return input;
}

}  // namespace

KeyWindow::KeyWindow() {
  current = this;
  ready_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  thread_ = CreateThread(nullptr, 0, run, this, 0, &threadId_);
  if (thread_ == nullptr || WaitForSingleObject(ready_, 10000) != WAIT_OBJECT_0) window_ = nullptr;
}

KeyWindow::~KeyWindow() {
  if (thread_ != nullptr) {
    PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
    WaitForSingleObject(thread_, 10000);
    CloseHandle(thread_);
  }
  if (ready_ != nullptr) CloseHandle(ready_);
  current = nullptr;
}

DWORD WINAPI KeyWindow::run(void* self) {
  auto* keys = static_cast<KeyWindow*>(self);
  WNDCLASSW windowClass = {};
  windowClass.lpfnWndProc = windowProc;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = L"pqkTestKeyWindow";
  RegisterClassW(&windowClass);
  HWND window = CreateWindowExW(0, L"pqkTestKeyWindow", L"keys", WS_POPUP | WS_VISIBLE, 100, 100,
                                200, 100, nullptr, nullptr, windowClass.hInstance, nullptr);
  if (window != nullptr) {
    focus(window);
    if (GetForegroundWindow() == window) keys->window_ = window;
  }
  SetEvent(keys->ready_);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  if (window != nullptr) {
    hideAtOnce(window);
    DestroyWindow(window);
  }
  return 0;
}

void KeyWindow::focus(HWND window) {
  SetForegroundWindow(window);
  SetFocus(window);
}

void KeyWindow::takeFocus() {
  if (window_ == nullptr) return;
  SendMessageW(window_, kTakeFocusMessage, 0, 0);
}

bool KeyWindow::takeFocusAndWait(DWORD milliseconds) {
  const DWORD start = GetTickCount();
  for (;;) {
    takeFocus();
    Sleep(20);
    if (window_ != nullptr && GetForegroundWindow() == window_) return true;
    if (GetTickCount() - start > milliseconds) return false;
  }
}

LRESULT CALLBACK KeyWindow::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kTakeFocusMessage) {
    focus(window);
    return 0;
  }
  if (message >= WM_KEYDOWN && message <= WM_SYSKEYUP && message != WM_CHAR &&
      message != WM_DEADCHAR && message != WM_SYSCHAR && message != WM_SYSDEADCHAR) {
    if (current != nullptr) {
      std::lock_guard<std::mutex> lock(current->mutex_);
      current->received_.push_back({message, wParam, lParam});
    }
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

std::vector<ReceivedKey> KeyWindow::received() {
  std::lock_guard<std::mutex> lock(mutex_);
  return received_;
}

void KeyWindow::clear() {
  std::lock_guard<std::mutex> lock(mutex_);
  received_.clear();
}

bool KeyWindow::waitFor(UINT message, WPARAM vk, DWORD milliseconds) {
  const DWORD start = GetTickCount();
  for (;;) {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      for (const ReceivedKey& key : received_) {
        if (key.message == message && key.vk == vk) return true;
      }
    }
    if (GetTickCount() - start >= milliseconds) return false;
    Sleep(10);
  }
}

bool KeyWindow::waitForKeyDown(WPARAM vk, DWORD milliseconds) {
  return waitFor(WM_KEYDOWN, vk, milliseconds);
}

void hideAtOnce(HWND window) {
  SetWindowLongW(window, GWL_STYLE, 0);
  SetWindowPos(
      window, nullptr, 0, 0, 0, 0,
      SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED | SWP_HIDEWINDOW | SWP_NOACTIVATE);
}

void pressKey(BYTE vk) {
  INPUT inputs[2] = {keyInput(vk, false), keyInput(vk, true)};
  SendInput(2, inputs, sizeof(INPUT));
}

void sendKeyDownOnly(BYTE vk) {
  INPUT input = keyInput(vk, false);
  SendInput(1, &input, sizeof(INPUT));
}

void sendKeyUpOnly(BYTE vk) {
  INPUT input = keyInput(vk, true);
  SendInput(1, &input, sizeof(INPUT));
}
