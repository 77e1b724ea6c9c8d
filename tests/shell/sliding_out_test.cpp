// The SlidingOut watcher against the (wine) machine registry.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "shell/key_hook.h"
#include "shell/shell_state.h"

namespace {

constexpr DWORD kUnread = 0xDEADBEEF;

void writeSlidingOut(DWORD value) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, kSlidingOutKey, 0, nullptr, 0, KEY_SET_VALUE,
                            nullptr, &key, nullptr),
            ERROR_SUCCESS);
  RegSetValueExW(key, kSlidingOutValue, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                 sizeof(value));
  RegCloseKey(key);
}

DWORD readSlidingOut() {
  DWORD value = kUnread;
  DWORD size = sizeof(value);
  if (RegGetValueW(HKEY_LOCAL_MACHINE, kSlidingOutKey, kSlidingOutValue, RRF_RT_REG_DWORD, nullptr,
                   &value, &size) != ERROR_SUCCESS) {
    return kUnread;
  }
  return value;
}

// Waits for the watcher thread to answer, pumping nothing: the watcher needs
// no messages.
bool waitForSlidingOut(DWORD expected, DWORD milliseconds) {
  for (DWORD waited = 0; waited < milliseconds; waited += 20) {
    if (readSlidingOut() == expected) return true;
    Sleep(20);
  }
  return readSlidingOut() == expected;
}

TEST(SlidingOutChanged, WritesZeroAfterANonZeroValue) {
  for (DWORD reported : {1u, 7u, 0xFFFFFFFFu}) {
    writeSlidingOut(5);
    BYTE data[4];
    std::memcpy(data, &reported, 4);
    onSlidingOutChanged(nullptr, 0, data, 4);
    EXPECT_EQ(readSlidingOut(), 0u) << reported;
  }
}

TEST(SlidingOutChanged, IgnoresZeroMissingDataAndWrongSizes) {
  struct Case {
    const char* what;
    std::vector<BYTE> data;
    bool nullData;
  };
  const Case cases[] = {
      {"zero", {0, 0, 0, 0}, false}, {"null data", {1, 0, 0, 0}, true},
      {"two bytes", {1, 0}, false},  {"eight bytes", {1, 0, 0, 0, 0, 0, 0, 0}, false},
      {"no bytes", {}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    writeSlidingOut(5);
    std::vector<BYTE> data = c.data;
    onSlidingOutChanged(nullptr, 0, c.nullData ? nullptr : data.data(),
                        static_cast<UINT>(data.size()));
    EXPECT_EQ(readSlidingOut(), 5u);
  }
}

TEST(SlidingOutWatcher, AnswersOnlyWhileTheHookIsInstalled) {
  writeSlidingOut(0);
  shellState.hookHandle = nullptr;
  shellState.watcherHandle = nullptr;
  ASSERT_TRUE(installKeyHook(false));
  ASSERT_NE(shellState.watcherHandle, nullptr);

  writeSlidingOut(1);
  EXPECT_TRUE(waitForSlidingOut(0, 3000));
  writeSlidingOut(3);
  EXPECT_TRUE(waitForSlidingOut(0, 3000));

  removeKeyHook();
  EXPECT_EQ(shellState.hookHandle, nullptr);
  EXPECT_EQ(shellState.watcherHandle, nullptr);
  writeSlidingOut(1);
  Sleep(300);
  EXPECT_EQ(readSlidingOut(), 1u);
  writeSlidingOut(0);
}

}  // namespace
