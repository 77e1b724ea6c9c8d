// Desktop stand-ins of the CE-only calls that the tests of the hook and the
// settings store do not already cover.
#include "shell/ce_compat.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(CeCompat, MenuBarWithoutItsResourceFailsCleanly) {
  HWND window = CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr,
                                nullptr, GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(window, nullptr);
  SHMENUBARINFO info = {};
  info.cbSize = sizeof(info);
  info.hwndParent = window;
  info.dwFlags = SHCMBF_HMENU;
  // The tests carry the program's resources; no menu has this id.
  info.nToolBarId = 4321;
  info.hInstRes = GetModuleHandleW(nullptr);
  info.hwndMB = window;
  EXPECT_FALSE(SHCreateMenuBar(&info));
  EXPECT_EQ(info.hwndMB, nullptr);
  EXPECT_EQ(GetMenu(window), nullptr);
  DestroyWindow(window);
}

TEST(CeCompat, ShortcutTargetMustBeWellFormed) {
  wchar_t folder[MAX_PATH + 1];
  GetTempPathW(MAX_PATH, folder);
  std::wstring link = std::wstring(folder) + L"pqk-compat-test.lnk";
  EXPECT_FALSE(SHCreateShortcut(link.c_str(), L"\"unterminated -s"));
  EXPECT_EQ(GetFileAttributesW(link.c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_TRUE(SHCreateShortcut(link.c_str(), L"C:\\windows\\notepad.exe"));
  EXPECT_NE(GetFileAttributesW(link.c_str()), INVALID_FILE_ATTRIBUTES);
  DeleteFileW(link.c_str());
}

TEST(CeCompat, WatcherOfAMissingKeyFails) {
  HREGNOTIFY notification = reinterpret_cast<HREGNOTIFY>(1);
  EXPECT_NE(RegistryNotifyCallback(
                HKEY_CURRENT_USER, L"Software\\pqk-no-such-key", L"v",
                [](HREGNOTIFY, DWORD, BYTE*, UINT) {}, 0, nullptr, &notification),
            S_OK);
  EXPECT_EQ(notification, nullptr);
}

}  // namespace
