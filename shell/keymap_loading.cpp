// Loading keymap files from the dialogs, the menu and at start-up.
#include <windows.h>
// windows.h first: commdlg.h needs its types.
#include <commdlg.h>

#include <cwchar>
#include <string>

#include "keymap/keymap_compiler.h"
#include "shell/dialogs.h"
#include "shell/program_messages.h"
#include "shell/resource_ids.h"
#include "shell/settings_store.h"
#include "shell/shell_state.h"
#include "shell/win32_keymap_platform.h"

namespace {

// Units of the file-open dialog's name buffer.
constexpr int kOpenFileNameUnits = 254;

KeymapPlatform* installedPlatform = nullptr;

KeymapPlatform& keymapPlatform() {
  static Win32KeymapPlatform platform;
  return installedPlatform != nullptr ? *installedPlatform : platform;
}

void loadKeymapsFrom(const wchar_t* path) {
  loadKeymapFile(shellState.engine, keymapPlatform(), utf8FromWide(path));
}

// True with keymapPath set when the user chose a file.
bool askForKeymapFile(HWND owner) {
  wchar_t fileName[kOpenFileNameUnits] = {};
  OPENFILENAMEW request = {};
  request.lStructSize = sizeof(request);
  request.hwndOwner = owner;
  request.lpstrFilter = L"Text(*.TXT)\0*.TXT\0All(*.*)\0*.*\0";
  request.lpstrFile = fileName;
  request.nMaxFile = kOpenFileNameUnits;
  request.lpstrTitle = L"Open";
  request.Flags = OFN_FILEMUSTEXIST;
  if (!GetOpenFileNameW(&request)) return false;
  fileName[kOpenFileNameUnits - 1] = 0;
  wcscpy(shellState.keymapPath, fileName);
  return true;
}

}  // namespace

void useKeymapPlatform(KeymapPlatform* platform) {
  installedPlatform = platform;
}

void loadConfiguredKeymaps() {
  if (shellState.keymapPath[0] != 0) {
    loadKeymapsFrom(shellState.keymapPath);
    return;
  }
  wchar_t defaultPath[kPathUnits] = {};
  if (!programFolderPath(defaultPath, kDefaultKeymapFileName)) {
    // A load empties the slots whatever it finds; this one finds no file.
    clearKeymaps(shellState.engine);
    keymapPlatform().showKeymapMessage(
        utf8FromWide(programFolderUnknownMessage(kDefaultKeymapFileName).c_str()));
    return;
  }
  loadKeymapsFrom(defaultPath);
}

void loadKeymapInteractive(HWND dialog, bool ask) {
  if (ask && !askForKeymapFile(dialog != nullptr ? dialog : shellState.mainWnd)) return;
  if (dialog != nullptr) SetDlgItemTextW(dialog, IDC_KEYMAP_PATH, shellState.keymapPath);
  shellState.appFlags |= kAppSettingsDirty;
  loadConfiguredKeymaps();
}
