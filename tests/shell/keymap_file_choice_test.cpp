// Choosing a keymap file in the file-open dialog: a cancel changes nothing;
// a chosen file becomes the path, is shown and is loaded.
#include <cwchar>
#include <string>

#include "shell/keymap_loading.h"
#include "shell/resource_ids.h"
#include "tests/shell/app_test_support.h"

namespace {

// What the helper timer does to the file-open dialog once it is up.
std::wstring fileToChoose;  // empty: cancel
bool sawOpenDialog = false;
std::wstring openDialogTitle;

BOOL CALLBACK answerOpenDialog(HWND window, LPARAM) {
  wchar_t className[16] = {};
  GetClassNameW(window, className, 16);
  if (wcscmp(className, L"#32770") != 0 || !IsWindowVisible(window)) return TRUE;
  if (GetDlgItem(window, IDC_ROTATION_BEHAVIOUR) != nullptr) return TRUE;  // the advanced dialog
  sawOpenDialog = true;
  wchar_t title[64] = {};
  GetWindowTextW(window, title, 64);
  openDialogTitle = title;
  if (fileToChoose.empty()) {
    PostMessageW(window, WM_COMMAND, IDCANCEL, 0);
  } else {
    // The file-name box of the explorer-style dialog (cmb13), or its edit (edt1).
    HWND name = GetDlgItem(window, 0x47c);
    if (name == nullptr) name = GetDlgItem(window, 0x480);
    SetWindowTextW(name, fileToChoose.c_str());
    PostMessageW(window, WM_COMMAND, IDOK, 0);
  }
  return FALSE;
}

void CALLBACK lookForOpenDialog(HWND, UINT, UINT_PTR timer, DWORD) {
  sawOpenDialog = false;
  EnumThreadWindows(GetCurrentThreadId(), answerOpenDialog, 0);
  if (sawOpenDialog) KillTimer(nullptr, timer);
}

class KeymapFileChoiceTest : public ShellAppTest {
 protected:
  void choose(HWND dialog, const std::wstring& file) {
    fileToChoose = file;
    sawOpenDialog = false;
    openDialogTitle.clear();
    const UINT_PTR timer = SetTimer(nullptr, 0, 100, lookForOpenDialog);
    loadKeymapInteractive(dialog, true);
    KillTimer(nullptr, timer);
  }
  bool dirty() const { return (shellState.appFlags & kAppSettingsDirty) != 0; }
};

TEST_F(KeymapFileChoiceTest, CancelChangesNothing) {
  wcscpy(shellState.keymapPath, L"C:\\kept.txt");
  HWND advanced = openAdvancedDialog();
  shellState.appFlags &= ~uint32_t{kAppSettingsDirty};
  choose(advanced, L"");
  EXPECT_EQ(openDialogTitle, L"Open");
  EXPECT_STREQ(shellState.keymapPath, L"C:\\kept.txt");
  EXPECT_EQ(controlText(advanced, IDC_KEYMAP_PATH), L"C:\\kept.txt");
  EXPECT_FALSE(dirty());
  EXPECT_TRUE(keymapMessages.empty());
}

TEST_F(KeymapFileChoiceTest, ChosenFileIsStoredShownAndLoaded) {
  wchar_t folder[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, folder);
  const std::wstring path = std::wstring(folder) + L"pqk_chosen.txt";
  ASSERT_TRUE(writeTextFile(path, slotFourKeymap()));
  HWND advanced = openAdvancedDialog();
  choose(advanced, path);
  DeleteFileW(path.c_str());
  EXPECT_EQ(_wcsicmp(shellState.keymapPath, path.c_str()), 0) << shellState.keymapPath;
  EXPECT_EQ(controlText(advanced, IDC_KEYMAP_PATH), std::wstring(shellState.keymapPath));
  EXPECT_TRUE(dirty());
  EXPECT_TRUE(keymapMessages.empty());
  EXPECT_NE(shellState.engine.keymaps[4].bytes, nullptr);
}

}  // namespace
