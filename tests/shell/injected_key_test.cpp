// Injected keys travel through a real low-level hook under wine: they come
// back with their own virtual key, their real scan code (with the extended
// flag for an E0 key) and extra information 11, and the program's hook
// swallows a swapped key and passes its own replacement.
#include <gtest/gtest.h>

#include <vector>

#include "engine/key_event.h"
#include "shell/engine_lock.h"
#include "shell/key_hook.h"
#include "shell/shell_state.h"
#include "shell/win32_key_output.h"

namespace {

struct SeenEvent {
  DWORD vk;
  DWORD scanCode;
  bool up;
  bool injected;
  bool extended;
  ULONG_PTR extraInfo;
};

std::vector<SeenEvent> seen;
HHOOK recorderHook = nullptr;

// Stands for every hook and application after the program's hook.
LRESULT CALLBACK recordEvent(int code, WPARAM message, LPARAM event) {
  if (code == HC_ACTION) {
    const auto* key = reinterpret_cast<const KBDLLHOOKSTRUCT*>(event);
    bool up = message == WM_KEYUP || message == WM_SYSKEYUP;
    seen.push_back({key->vkCode, key->scanCode, up, (key->flags & LLKHF_INJECTED) != 0,
                    (key->flags & LLKHF_EXTENDED) != 0, key->dwExtraInfo});
  }
  return CallNextHookEx(recorderHook, code, message, event);
}

// Hooks are called from the installing thread's message loop.
void pumpUntil(size_t events, DWORD milliseconds) {
  DWORD start = GetTickCount();
  while (seen.size() < events && GetTickCount() - start < milliseconds) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
  }
  // A little longer, to catch events that should not be there.
  DWORD settle = GetTickCount();
  while (GetTickCount() - settle < 100) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    Sleep(10);
  }
}

class InjectedKeyTest : public ::testing::Test {
 protected:
  void SetUp() override {
    seen.clear();
    recorderHook = SetWindowsHookExW(WH_KEYBOARD_LL, recordEvent, GetModuleHandleW(nullptr), 0);
    ASSERT_NE(recorderHook, nullptr);
  }
  void TearDown() override {
    removeKeyHook();
    shellState.engine.keyOutput = nullptr;
    UnhookWindowsHookEx(recorderHook);
    recorderHook = nullptr;
  }
};

// Remote-desktop and virtual-machine clients and browsers read the scan
// code: each key carries the one a US keyboard (the test desktop's) sends,
// the cursor and editing keys with the extended flag. The keys wait while
// the engine is held and leave together when it is let go.
TEST_F(InjectedKeyTest, KeyOutputEventsCarryRealScanCodesAndTheOwnMark) {
  const struct {
    BYTE vk;
    DWORD scanCode;
    bool extended;
  } keys[] = {
      {'K', 0x25, false},     {VK_RETURN, 0x1C, false}, {VK_LMENU, 0x38, false},
      {VK_BACK, 0x0E, false}, {VK_LEFT, 0x4B, true},    {VK_HOME, 0x47, true},
      {VK_PRIOR, 0x49, true}, {VK_DELETE, 0x53, true},  {VK_INSERT, 0x52, true},
      {VK_DOWN, 0x50, true},
  };
  Win32KeyOutput output;
  {
    EngineLock lock;
    for (const auto& key : keys) {
      output.sendKeyDown(key.vk);
      output.sendKeyUp(key.vk);
    }
    EXPECT_TRUE(seen.empty());  // queued while the engine is held
  }
  const size_t count = 2 * (sizeof(keys) / sizeof(keys[0]));
  pumpUntil(count, 3000);
  ASSERT_EQ(seen.size(), count);
  for (size_t i = 0; i < count; ++i) {
    SCOPED_TRACE(i);
    const auto& key = keys[i / 2];
    EXPECT_EQ(seen[i].vk, static_cast<DWORD>(key.vk));
    EXPECT_EQ(seen[i].scanCode, key.scanCode);
    EXPECT_EQ(seen[i].extended, key.extended);
    EXPECT_EQ(seen[i].extraInfo, 11u);
    EXPECT_TRUE(seen[i].injected);
    EXPECT_EQ(seen[i].up, i % 2 == 1);
  }
}

// A swapped key is swallowed and its replacement comes back as the
// program's own. Esc sends scan code 1 from a desktop keyboard, like the
// program's own events; without the program's extra information it is
// swapped all the same.
TEST_F(InjectedKeyTest, SwappedKeyIsReplacedByTheEnginesOwnEvents) {
  const struct {
    const char* what;
    uint32_t option;
    BYTE vk;
    BYTE scanCode;
    uint8_t replacement;
  } cases[] = {
      {"Ctrl with its own scan code", kOptionSwapCtrlCaps, VK_CONTROL, 0x1D, kVkDbeAlphanumeric},
      {"Esc with scan code 1", kOptionSwapEscHankaku, VK_ESCAPE, 1, kVkDbeSbcsChar},
  };
  Win32KeyOutput output;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    seen.clear();
    setEngineDefaults(shellState.engine);
    shellState.engine.keyOutput = &output;
    shellState.engine.options |= c.option;
    // Installed after the recorder, so it sees every event first.
    ASSERT_TRUE(installKeyHook(false));

    keybd_event(c.vk, c.scanCode, 0, 0);
    keybd_event(c.vk, c.scanCode, KEYEVENTF_KEYUP, 0);
    pumpUntil(2, 3000);
    removeKeyHook();

    ASSERT_EQ(seen.size(), 2u);
    for (size_t i = 0; i < 2; ++i) {
      SCOPED_TRACE(i);
      EXPECT_EQ(seen[i].vk, static_cast<DWORD>(c.replacement));
      // The replacement's own scan code, not the device's mark.
      EXPECT_EQ(seen[i].scanCode, MapVirtualKeyW(c.replacement, MAPVK_VK_TO_VSC) & 0xFF);
      EXPECT_EQ(seen[i].extraInfo, 11u);
      EXPECT_EQ(seen[i].up, i == 1);
    }
  }
}

TEST_F(InjectedKeyTest, UnswappedKeyPassesThroughTheHook) {
  setEngineDefaults(shellState.engine);
  ASSERT_TRUE(installKeyHook(false));
  keybd_event('Q', 0x10, 0, 0);
  keybd_event('Q', 0x10, KEYEVENTF_KEYUP, 0);
  pumpUntil(2, 3000);
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0].vk, static_cast<DWORD>('Q'));
  EXPECT_EQ(seen[0].scanCode, 0x10u);
  EXPECT_TRUE(seen[1].up);
}

}  // namespace
