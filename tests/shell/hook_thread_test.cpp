// The hook on a thread of its own, with a real hook under wine: keys convert
// while the UI thread (the test's thread) sits in a modal window or in a
// keymap load, a hook that Windows removed behind the program's back comes
// back, and keys held while the session was locked or another desktop had
// the input are forgotten.
#include "shell/hook_thread.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <thread>

#include "engine/key_event.h"
#include "shell/engine_lock.h"
#include "shell/key_hook.h"
#include "shell/keymap_loading.h"
#include "shell/shell_state.h"
#include "shell/win32_key_output.h"
#include "shell/win32_system_keys.h"
#include "tests/shell/app_test_support.h"
#include "tests/shell/key_window.h"
#include "tests/support/image_builder.h"

namespace {

constexpr DWORD kWaitMs = 3000;

// Kana toggle mode with the IME closed: slot 5, where key 2 types a and key
// 3 types c (as the keys A and C).
TestKeymap oldKeymap() {
  TestKeymap keymap;
  keymap.keys[1].type = kKeyTypeToggle;
  keymap.keys[1].actions = {charAction({{8, 'A'}})};
  keymap.keys[2].type = kKeyTypeToggle;
  keymap.keys[2].actions = {charAction({{8, 'C'}})};
  return keymap;
}

// Slot 5 with key 2 typing b, and a broken keymap 7 after it, whose message
// holds the load up.
std::string newKeymapWithAnError() {
  std::string text = "keymap '\\x05'\n";
  for (int key = 0; key < 12; ++key)
    text += key == 1 ? "key '\\x02'\nchar B\n" : "key '\\x02'\nnop\n";
  return text + "keymap '\\x07'\nkey '\\x02'\nchar A\n";
}

class HookThreadTest : public ShellAppTest {
 protected:
  void SetUp() override {
    ShellAppTest::SetUp();
    shellState.engine.keyOutput = &output;
    installTestKeymap(shellState.engine, 5, oldKeymap());
    shellState.engine.options |= kOptionKanaToggle;
    selectModeKeymap(shellState.engine);
    window = std::make_unique<KeyWindow>();
    ASSERT_TRUE(window->ready());
    ASSERT_TRUE(startHookThread());
    ASSERT_TRUE(installKeyHook(false));
  }
  void TearDown() override {
    removeKeyHook();
    stopHookThread();
    window.reset();
    ShellAppTest::TearDown();
  }

  Win32KeyOutput output;
  std::unique_ptr<KeyWindow> window;
};

// A window of the UI thread's, found by its caption.
HWND waitForWindowNamed(const wchar_t* caption) {
  for (int tries = 0; tries < 300; ++tries) {
    HWND found = FindWindowW(nullptr, caption);
    if (found != nullptr) return found;
    Sleep(10);
  }
  return nullptr;
}

TEST_F(HookThreadTest, KeysConvertWhileTheUiThreadSitsInAModalWindow) {
  bool converted = false;
  bool focused = false;
  std::thread typist([&] {
    HWND box = waitForWindowNamed(L"modal");
    // The box takes the focus when it comes up (slowly on a first run, with
    // its fonts still to load); the keys go to the window after that.
    for (int tries = 0; tries < 500 && GetForegroundWindow() != box; ++tries) Sleep(10);
    // Without a window manager the box may take the focus back once more.
    focused = window->takeFocusAndWait(kWaitMs);
    pressKey('2');
    converted = window->waitForKeyDown('A', kWaitMs);
    if (box != nullptr) {
      hideAtOnce(box);
      PostMessageW(box, WM_COMMAND, IDOK, 0);
    }
  });
  MessageBoxW(nullptr, L"the UI thread waits here", L"modal", MB_OK);
  typist.join();
  ASSERT_TRUE(focused) << "the test window never came in front of the box";
  EXPECT_TRUE(converted);
  EXPECT_FALSE(window->waitForKeyDown('2', 0));  // the digit itself never arrived
}

KeyWindow* typingWindow = nullptr;
bool convertedDuringLoad = false;

// While the load's message is up, the UI thread goes no further: the hook
// still converts, with the keymaps from before the load. The key comes from
// another thread: SendInput calls the hooks of its own thread at once.
void typeWhileTheMessageIsUp() {
  typingWindow->clear();
  std::thread([] { pressKey('2'); }).join();
  convertedDuringLoad = typingWindow->waitForKeyDown('A', kWaitMs);
}

TEST_F(HookThreadTest, KeysConvertWhileAKeymapLoadHoldsTheUiThread) {
  const std::wstring path = L"C:\\pqk_hook_thread_keymap.txt";
  ASSERT_TRUE(writeTextFile(path, newKeymapWithAnError()));
  wcscpy(shellState.keymapPath, path.c_str());
  typingWindow = window.get();
  convertedDuringLoad = false;
  whileKeymapMessageShown = typeWhileTheMessageIsUp;
  loadConfiguredKeymaps(nullptr);
  whileKeymapMessageShown = nullptr;
  DeleteFileW(path.c_str());
  EXPECT_FALSE(keymapMessages.empty());
  EXPECT_TRUE(convertedDuringLoad);
  // The new keymaps took over in one step.
  window->clear();
  pressKey('3');  // key 3 types nothing now
  pressKey('2');
  EXPECT_TRUE(window->waitForKeyDown('B', kWaitMs));
  EXPECT_FALSE(window->waitForKeyDown('C', 0));
}

// Windows removes a hook that keeps it waiting too long and says nothing;
// keys typed a second after the hook last ran bring it back.
TEST_F(HookThreadTest, WatchdogInstallsAHookWindowsRemovedAgain) {
  pressKey('2');
  ASSERT_TRUE(window->waitForKeyDown('A', kWaitMs));
  dropKeyHookBehindTheProgramsBack();
  window->clear();
  bool converted = false;
  const DWORD start = GetTickCount();
  while (!converted && GetTickCount() - start < 4 * kWaitMs) {
    pressKey('3');
    converted = window->waitForKeyDown('C', 300);
  }
  EXPECT_TRUE(converted);
  // Until then the keypad was not converted: the hook really was gone.
  EXPECT_TRUE(window->waitForKeyDown('3', 0));
  EXPECT_TRUE(keyHookInstalled());
}

// Shift went down while the hook watched and came up while it was away (the
// rotation behaviour KeyHookを開放, a UAC prompt): the engine checks its
// records against the keys the system holds, so the keypad converts again.
TEST_F(HookThreadTest, AKeyUpTheHookNeverSawLeavesNoModifierHeld) {
  Win32SystemKeyState systemKeys;
  shellState.engine.systemKeys = &systemKeys;
  sendKeyDownOnly(VK_LSHIFT);
  ASSERT_TRUE(window->waitForKeyDown(VK_SHIFT, kWaitMs));
  removeKeyHook();
  sendKeyUpOnly(VK_LSHIFT);
  ASSERT_TRUE(window->waitFor(WM_KEYUP, VK_SHIFT, kWaitMs));
  ASSERT_TRUE(installKeyHook(false));
  window->clear();
  pressKey('2');
  EXPECT_TRUE(window->waitForKeyDown('A', kWaitMs));
  EXPECT_FALSE(window->waitForKeyDown('2', 0));
  shellState.engine.systemKeys = nullptr;
}

bool capsLockRecorded() {
  EngineLock lock;
  return keySetHas(shellState.engine.swappedDowns, VK_CAPITAL);
}

// CapsLock held as Ctrl: its key-up may go where the hook never sees it. On
// session unlock and on a desktop switch the engine lets go of the Ctrl it
// holds down.
TEST_F(HookThreadTest, ForgetsHeldKeysOnUnlockAndDesktopSwitch) {
  shellState.engine.options = kOptionSwapCtrlCaps;  // no input mode
  const struct {
    const char* what;
    void (*announce)();
    bool forgets;
  } cases[] = {
      {"session unlocked",
       [] { PostMessageW(hookThreadWindow(), WM_WTSSESSION_CHANGE, WTS_SESSION_UNLOCK, 0); }, true},
      {"session locked",
       [] { PostMessageW(hookThreadWindow(), WM_WTSSESSION_CHANGE, WTS_SESSION_LOCK, 0); }, false},
      {"desktop switched",
       [] { NotifyWinEvent(EVENT_SYSTEM_DESKTOPSWITCH, GetDesktopWindow(), OBJID_WINDOW, 0); },
       true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    window->clear();
    sendKeyDownOnly(VK_CAPITAL);
    ASSERT_TRUE(window->waitForKeyDown(VK_CONTROL, kWaitMs));
    ASSERT_TRUE(capsLockRecorded());
    c.announce();
    EXPECT_EQ(window->waitFor(WM_KEYUP, VK_CONTROL, c.forgets ? kWaitMs : 300), c.forgets);
    EXPECT_EQ(capsLockRecorded(), !c.forgets);
    // CapsLock comes up as Ctrl either way; its Ctrl key-up is awaited here,
    // so that it cannot land in the next case.
    window->clear();
    sendKeyUpOnly(VK_CAPITAL);
    EXPECT_TRUE(window->waitFor(WM_KEYUP, VK_CONTROL, kWaitMs));
  }
}

}  // namespace
