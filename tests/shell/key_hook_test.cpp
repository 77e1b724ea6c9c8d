// The hook's install/remove rules and the hook procedure's routing, against
// recorded platform calls.
#include "shell/key_hook.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/key_event.h"
#include "shell/resource_ids.h"
#include "shell/shell_state.h"
#include "shell/win32_key_output.h"
#include "tests/shell/app_test_support.h"
#include "tests/shell/id_names.h"
#include "tests/support/image_builder.h"
#include "tests/support/test_doubles.h"

namespace {

struct PlatformLog {
  std::vector<std::string> calls;
  HHOOK hookToGive = nullptr;
  HRESULT watcherResult = S_OK;
  HREGNOTIFY watcherToGive = nullptr;
  int lastHookType = 0;
  HOOKPROC lastProc = nullptr;
  DWORD lastThread = 99;
  std::wstring lastMessage;
  std::wstring lastCaption;
  UINT lastStyle = 99;
  HWND lastOwner = reinterpret_cast<HWND>(1);
  int nextCode = -100;
  const wchar_t* watchedKey = nullptr;
  const wchar_t* watchedValue = nullptr;
  HKEY watchedRoot = nullptr;
  const void* watchCondition = reinterpret_cast<const void*>(1);
};

PlatformLog* recorded = nullptr;
const LRESULT kNextHookAnswer = 0x5A;

HHOOK WINAPI fakeSetHook(int type, HOOKPROC proc, HINSTANCE, DWORD thread) {
  recorded->calls.push_back("set");
  recorded->lastHookType = type;
  recorded->lastProc = proc;
  recorded->lastThread = thread;
  return recorded->hookToGive;
}
BOOL WINAPI fakeUnhook(HHOOK hook) {
  recorded->calls.push_back(hook == recorded->hookToGive ? "unhook" : "unhook?");
  return TRUE;
}
LRESULT WINAPI fakeCallNext(HHOOK, int code, WPARAM, LPARAM) {
  recorded->calls.push_back("next");
  recorded->nextCode = code;
  return kNextHookAnswer;
}
int WINAPI fakeMessageBox(HWND owner, LPCWSTR text, LPCWSTR caption, UINT style) {
  recorded->calls.push_back("message");
  recorded->lastOwner = owner;
  recorded->lastMessage = text;
  recorded->lastCaption = caption;
  recorded->lastStyle = style;
  return IDOK;
}
HRESULT fakeNotify(HKEY root, const wchar_t* key, const wchar_t* value, REGISTRYNOTIFYCALLBACK,
                   DWORD, NOTIFICATIONCONDITION* condition, HREGNOTIFY* handle) {
  recorded->calls.push_back("watch");
  recorded->watchedRoot = root;
  recorded->watchedKey = key;
  recorded->watchedValue = value;
  recorded->watchCondition = condition;
  *handle = recorded->watcherToGive;
  return recorded->watcherResult;
}
HRESULT fakeCloseNotify(HREGNOTIFY handle) {
  recorded->calls.push_back(handle == recorded->watcherToGive ? "unwatch" : "unwatch?");
  return S_OK;
}

class KeyHookTest : public ::testing::Test {
 protected:
  void SetUp() override {
    recorded = &record;
    record.hookToGive = reinterpret_cast<HHOOK>(0x1234);
    record.watcherToGive = reinterpret_cast<HREGNOTIFY>(0x5678);
    saved = hookPlatform;
    hookPlatform = {fakeSetHook,    fakeUnhook, fakeCallNext,
                    fakeMessageBox, fakeNotify, fakeCloseNotify};
    shellState.hookHandle = nullptr;
    shellState.watcherHandle = nullptr;
    setEngineDefaults(shellState.engine);
    shellState.engine.keyOutput = &output;
  }
  void TearDown() override {
    hookPlatform = saved;
    shellState.hookHandle = nullptr;
    shellState.watcherHandle = nullptr;
    shellState.engine.keyOutput = nullptr;
    recorded = nullptr;
  }

  LRESULT callHook(int code, WPARAM message, DWORD vk, DWORD scanCode, DWORD flags = 0,
                   ULONG_PTR extraInfo = 0) {
    KBDLLHOOKSTRUCT event = {};
    event.vkCode = vk;
    event.scanCode = scanCode;
    event.flags = flags;
    event.time = 1000;
    event.dwExtraInfo = extraInfo;
    return keyHookProc(code, message, reinterpret_cast<LPARAM>(&event));
  }

  PlatformLog record;
  HookPlatform saved;
  RecordingKeyOutput output;
};

using Calls = std::vector<std::string>;

TEST_F(KeyHookTest, InstallsTheHookThenTheWatcher) {
  EXPECT_TRUE(installKeyHook(true));
  EXPECT_EQ(record.calls, (Calls{"set", "watch"}));
  EXPECT_EQ(record.lastHookType, WH_KEYBOARD_LL);
  EXPECT_EQ(record.lastProc, &keyHookProc);
  EXPECT_EQ(record.lastThread, 0u);
  EXPECT_EQ(record.watchedRoot, HKEY_LOCAL_MACHINE);
  EXPECT_STREQ(record.watchedKey, L"Software\\OEM\\Keyboard");
  EXPECT_STREQ(record.watchedValue, L"SlidingOut");
  EXPECT_EQ(record.watchCondition, nullptr);
  EXPECT_EQ(shellState.hookHandle, record.hookToGive);
  EXPECT_EQ(shellState.watcherHandle, record.watcherToGive);
}

TEST_F(KeyHookTest, SecondInstallCallsNothing) {
  EXPECT_TRUE(installKeyHook(false));
  EXPECT_TRUE(installKeyHook(true));
  EXPECT_EQ(record.calls, (Calls{"set", "watch"}));
}

TEST_F(KeyHookTest, FailedWatcherKeepsTheHook) {
  record.watcherResult = E_FAIL;
  EXPECT_TRUE(installKeyHook(true));
  EXPECT_EQ(shellState.hookHandle, record.hookToGive);
  EXPECT_EQ(shellState.watcherHandle, nullptr);
  removeKeyHook();
  EXPECT_EQ(record.calls, (Calls{"set", "watch", "unhook"}));
}

TEST_F(KeyHookTest, FailureMessageOnlyWhenAsked) {
  record.hookToGive = nullptr;
  EXPECT_FALSE(installKeyHook(false));
  EXPECT_EQ(record.calls, (Calls{"set"}));
  EXPECT_FALSE(installKeyHook(true));
  EXPECT_FALSE(installKeyHook(true));
  EXPECT_EQ(record.calls, (Calls{"set", "set", "message", "set", "message"}));
  EXPECT_EQ(record.lastOwner, nullptr);
#ifdef _WIN32_WCE
  EXPECT_EQ(record.lastMessage,
            L"すでに SetWindowsHookEx が使われていると思われるので起動できませんでした。");
#else
  // Desktop hooks chain: the message blames no other program.
  EXPECT_EQ(record.lastMessage, L"キーボードのフックを設定できなかったので起動できませんでした。");
#endif
  EXPECT_EQ(record.lastCaption, L"padquiltkana");
  EXPECT_EQ(record.lastStyle, static_cast<UINT>(MB_OK));
  EXPECT_EQ(shellState.hookHandle, nullptr);
  EXPECT_EQ(shellState.watcherHandle, nullptr);
}

TEST_F(KeyHookTest, RemoveClosesTheWatcherFirstAndClearsBoth) {
  removeKeyHook();
  EXPECT_TRUE(record.calls.empty());
  installKeyHook(false);
  record.calls.clear();
  removeKeyHook();
  EXPECT_EQ(record.calls, (Calls{"unwatch", "unhook"}));
  EXPECT_EQ(shellState.hookHandle, nullptr);
  EXPECT_EQ(shellState.watcherHandle, nullptr);
  removeKeyHook();
  EXPECT_EQ(record.calls.size(), 2u);
  EXPECT_TRUE(installKeyHook(false));
  EXPECT_EQ(record.calls, (Calls{"unwatch", "unhook", "set", "watch"}));
}

TEST_F(KeyHookTest, OtherCodesPassWithTheirCode) {
  installKeyHook(false);
  shellState.engine.options |= kOptionSwapCtrlCaps;
  for (int code : {3, -1, 1}) {
    record.calls.clear();
    EXPECT_EQ(callHook(code, WM_KEYDOWN, kVkCapital, 0x3A), kNextHookAnswer);
    EXPECT_EQ(record.calls, (Calls{"next"}));
    EXPECT_EQ(record.nextCode, code);
  }
  EXPECT_TRUE(output.events.empty());
}

TEST_F(KeyHookTest, OwnEventsPassUntouched) {
  installKeyHook(false);
  shellState.engine.options |= kOptionSwapCtrlCaps | kOptionKanaToggle;
  for (DWORD vk : {DWORD{kVkCapital}, DWORD{0x32}, DWORD{kVkControl}}) {
    record.calls.clear();
    EXPECT_EQ(
        callHook(HC_ACTION, WM_KEYDOWN, vk, kOwnEventScanCode, LLKHF_INJECTED, kOwnEventExtraInfo),
        kNextHookAnswer);
    EXPECT_EQ(record.calls, (Calls{"next"}));
    EXPECT_EQ(record.nextCode, 0);
  }
  EXPECT_TRUE(output.events.empty());
}

// A desktop keyboard's Esc has scan code 1: only the program's extra
// information on an injected event marks it as the program's own.
TEST_F(KeyHookTest, ScanCodeOneAloneIsNoOwnEvent) {
  installKeyHook(false);
  shellState.engine.options |= kOptionSwapEscHankaku;
  const struct {
    DWORD flags;
    ULONG_PTR extraInfo;
  } notOwn[] = {{0, 0}, {LLKHF_INJECTED, 0}, {0, kOwnEventExtraInfo}, {LLKHF_INJECTED, 12}};
  for (const auto& event : notOwn) {
    record.calls.clear();
    EXPECT_EQ(callHook(HC_ACTION, WM_KEYDOWN, kVkEscape, 1, event.flags, event.extraInfo), 1);
    EXPECT_TRUE(record.calls.empty());
    EXPECT_EQ(output.take(), std::vector<KeyEvent>{down(kVkDbeSbcsChar)});
  }
}

TEST_F(KeyHookTest, SwallowedEventReturnsOneWithoutNextHook) {
  installKeyHook(false);
  shellState.engine.options |= kOptionSwapCtrlCaps;
  record.calls.clear();
  EXPECT_EQ(callHook(HC_ACTION, WM_KEYDOWN, kVkCapital, 0x3A), 1);
  EXPECT_EQ(callHook(HC_ACTION, WM_KEYUP, kVkCapital, 0x3A), 1);
  EXPECT_TRUE(record.calls.empty());
  EXPECT_EQ(output.take(), (std::vector<KeyEvent>{down(kVkControl), up(kVkControl)}));
}

TEST_F(KeyHookTest, PassedEventGoesToTheNextHook) {
  installKeyHook(false);
  record.calls.clear();
  EXPECT_EQ(callHook(HC_ACTION, WM_SYSKEYDOWN, 'A', 0x1E), kNextHookAnswer);
  EXPECT_EQ(record.calls, (Calls{"next"}));
  EXPECT_EQ(record.nextCode, 0);
  EXPECT_TRUE(output.events.empty());
}

// Keys typed into the program's own edit fields reach them as typed; the
// test field is there to try the input method, so there the keypad converts.
class OwnFieldTest : public ShellAppTest {
 protected:
  void SetUp() override {
    ShellAppTest::SetUp();
    TestKeymap keymap;
    keymap.keys[1].type = kKeyTypeToggle;
    keymap.keys[1].actions = {charAction({{8, 'A'}}), charAction({{8, 'B'}})};
    installTestKeymap(shellState.engine, 4, keymap);
    installTestKeymap(shellState.engine, 5, keymap);
    shellState.engine.options |= kOptionKanaToggle;
  }
  // The digit key 2 pressed and released; returns what its key-down answered.
  LRESULT typeTwo() {
    KBDLLHOOKSTRUCT event = {};
    event.vkCode = '2';
    event.scanCode = 0x03;
    const LRESULT answer = keyHookProc(HC_ACTION, WM_KEYDOWN, reinterpret_cast<LPARAM>(&event));
    keyHookProc(HC_ACTION, WM_KEYUP, reinterpret_cast<LPARAM>(&event));
    return answer;
  }
  void focusOn(HWND dialog, int id) {
    HWND window = GetAncestor(dialog, GA_ROOT);
    ShowWindow(window, SW_SHOW);
    SetForegroundWindow(window);
    SetFocus(GetDlgItem(dialog, id));
    ASSERT_EQ(GetFocus(), GetDlgItem(dialog, id));
  }
};

TEST_F(OwnFieldTest, OnlyTheTestFieldConvertsTheKeypad) {
  HWND settings = openSettingsDialog();
  HWND advanced = openAdvancedDialog();
  ASSERT_NE(settings, nullptr);
  ASSERT_NE(advanced, nullptr);
  const struct {
    HWND dialog;
    int id;
    bool converted;
  } fields[] = {
      {settings, IDC_TIMEOUT, false},
      {settings, IDC_TEST_FIELD, true},
      {advanced, IDC_KEYMAP_PATH, false},
      {settings, IDC_AUTO_ADVANCE, true},  // not an edit field
  };
  for (const auto& field : fields) {
    focusOn(field.dialog, field.id);
    keys.take();
    EXPECT_EQ(typeTwo(), field.converted ? 1 : 0) << idName(field.id);
    EXPECT_EQ(keys.take(), field.converted ? taps("A") : Events{}) << idName(field.id);
  }
}

}  // namespace
