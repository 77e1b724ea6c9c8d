#include "tests/shell/app_test_support.h"

#include "shell/advanced_dialog.h"
#include "shell/dialog_resources.h"
#include "shell/display_orientation.h"
#include "shell/key_hook.h"
#include "shell/keymap_loading.h"
#include "shell/launch_requests.h"
#include "shell/program_messages.h"
#include "shell/resource_ids.h"
#include "shell/settings_dialog.h"
#include "shell/settings_store.h"
#include "shell/settings_window.h"
#include "shell/utf8_text.h"
#include "shell/win32_keymap_platform.h"

std::vector<std::string> keymapMessages;
std::vector<HWND> keymapMessageOwners;
void (*whileKeymapMessageShown)() = nullptr;
std::vector<ShownMessage> programMessages;

namespace {

void recordProgramMessage(HWND owner, const wchar_t* text) {
  programMessages.push_back({owner, text});
}

void recordKeymapMessage(HWND owner, const wchar_t* text) {
  keymapMessages.push_back(utf8FromWide(text));
  keymapMessageOwners.push_back(owner);
  if (whileKeymapMessageShown != nullptr) whileKeymapMessageShown();
}

Win32KeymapPlatform& recordingKeymapPlatform() {
  static Win32KeymapPlatform platform(recordKeymapMessage);
  return platform;
}

}  // namespace

void ShellAppTest::SetUp() {
  clearKeymaps(shellState.engine);
  shellState = ShellState();
  shellState.instance = GetModuleHandleW(nullptr);
  shellState.engine.keyOutput = &keys;
  shellState.engine.imeControl = &ime;
  setEngineDefaults(shellState.engine);
  keymapMessages.clear();
  keymapMessageOwners.clear();
  whileKeymapMessageShown = nullptr;
  useKeymapPlatform(&recordingKeymapPlatform());
  programMessages.clear();
  useProgramMessageShower(recordProgramMessage);
  clearLaunchRequests();
  deleteSettingsKey();
}

void ShellAppTest::TearDown() {
  for (HWND window : windows) {
    if (IsWindow(window)) DestroyWindow(window);
  }
  if (shellState.mainWnd != nullptr && IsWindow(shellState.mainWnd)) {
    // Hidden first, the way the program leaves the front: wine without a
    // window manager waits two seconds for a visible framed window to go.
    hideMainWindow();
    DestroyWindow(shellState.mainWnd);
  }
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
  }
  removeKeyHook();
  clearKeymaps(shellState.engine);
  useDisplayOrientation(nullptr);
  useKeymapPlatform(nullptr);
  useProgramMessageShower(nullptr);
  useProgramPathReader(nullptr);
  deleteSettingsKey();
}

HWND ShellAppTest::makeParentWindow() {
  HWND parent = CreateWindowExW(0, L"STATIC", L"parent", WS_OVERLAPPEDWINDOW, 0, 0, 400, 500,
                                nullptr, nullptr, shellState.instance, nullptr);
  windows.push_back(parent);
  return parent;
}

HWND ShellAppTest::openSettingsDialog() {
  HWND dialog = createDialogFromResource(IDD_SETTINGS, makeParentWindow(), settingsDialogProc);
  if (dialog != nullptr) {
    shellState.appFlags |= kAppSettingsShown;
    windows.insert(windows.begin(), dialog);
  }
  return dialog;
}

HWND ShellAppTest::openAdvancedDialog() {
  HWND dialog = createDialogFromResource(IDD_ADVANCED, nullptr, advancedDialogProc);
  if (dialog != nullptr) windows.insert(windows.begin(), dialog);
  return dialog;
}

void sendCommand(HWND dialog, int id, int notification) {
  SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, notification),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

void setCheck(HWND dialog, int id, bool checked) {
  SendDlgItemMessageW(dialog, id, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool isEnabled(HWND dialog, int id) {
  return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE;
}

std::wstring controlText(HWND dialog, int id) {
  wchar_t text[512] = {};
  GetDlgItemTextW(dialog, id, text, 512);
  return text;
}

bool writeTextFile(const std::wstring& path, const std::string& text) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const bool ok =
      WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
      written == text.size();
  CloseHandle(file);
  return ok;
}

std::string slotFourKeymap() {
  std::string text = "keymap '\\x04'\n";
  for (int key = 0; key < 12; ++key) text += "key '\\x02'\nchar A\n";
  return text;
}
