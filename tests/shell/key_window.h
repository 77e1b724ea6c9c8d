// A plain window on a thread of its own, in front with the keyboard focus,
// that records the key messages it receives as an application gets them;
// and key presses sent as a keyboard sends them. The test's own thread
// stands for the program's UI thread and may be busy meanwhile.
#pragma once

#include <windows.h>

#include <mutex>
#include <vector>

struct ReceivedKey {
  UINT message;  // WM_KEYDOWN, WM_KEYUP, WM_SYSKEYDOWN, WM_SYSKEYUP
  WPARAM vk;
  LPARAM lParam;
};

class KeyWindow {
 public:
  KeyWindow();
  ~KeyWindow();
  KeyWindow(const KeyWindow&) = delete;
  KeyWindow& operator=(const KeyWindow&) = delete;

  // True once the window exists and has the focus.
  bool ready() const { return window_ != nullptr; }
  std::vector<ReceivedKey> received();
  void clear();
  // Waits until a key-down of `vk` arrived; false when none came in time.
  bool waitForKeyDown(WPARAM vk, DWORD milliseconds);
  // Waits until a message of `message` with `vk` arrived.
  bool waitFor(UINT message, WPARAM vk, DWORD milliseconds);
  // Brings the window to the front again (after a window of another thread
  // took the focus).
  void takeFocus();
  // Takes the focus until the window is in front; false when it never is.
  bool takeFocusAndWait(DWORD milliseconds);

 private:
  static DWORD WINAPI run(void* self);
  static void focus(HWND window);
  static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  HANDLE thread_ = nullptr;
  DWORD threadId_ = 0;
  HANDLE ready_ = nullptr;
  HWND window_ = nullptr;
  std::mutex mutex_;
  std::vector<ReceivedKey> received_;
};

// A key pressed and released the way a keyboard sends it: its scan code, no
// mark of the program's.
void pressKey(BYTE vk);
// Only the key-down, or only the key-up.
void sendKeyDownOnly(BYTE vk);
void sendKeyUpOnly(BYTE vk);
// Hides a window without activating another one: wine without a window
// manager otherwise waits two seconds for a shown window to go.
void hideAtOnce(HWND window);
