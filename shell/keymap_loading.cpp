// Loading keymap files from the dialogs, the menu and at start-up.
#include <windows.h>
// windows.h first: commdlg.h needs its types.
#include <commdlg.h>

#include <cwchar>
#include <string>

#include "keymap/keymap_compiler.h"
#include "shell/dialogs.h"
#include "shell/keymap_file_win32.h"
#include "shell/resource_ids.h"
#include "shell/settings_store.h"
#include "shell/shell_state.h"

namespace {

// Units of the file-open dialog's name buffer.
constexpr int kOpenFileNameUnits = 254;

std::string toUtf8(const wchar_t* text) {
  const int bytes = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
  if (bytes <= 1) return std::string();
  std::string utf8(static_cast<size_t>(bytes), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text, -1, &utf8[0], bytes, nullptr, nullptr);
  utf8.resize(static_cast<size_t>(bytes - 1));
  return utf8;
}

void loadKeymapsFrom(const wchar_t* path) {
  loadKeymapFile(shellState.engine, win32KeymapPlatform(), toUtf8(path));
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

void loadConfiguredKeymaps() {
  if (shellState.keymapPath[0] != 0) {
    loadKeymapsFrom(shellState.keymapPath);
    return;
  }
  // A folder too long for the path leaves it empty; the compiler then
  // reports the file as missing.
  wchar_t defaultPath[kPathUnits] = {};
  programFolderPath(defaultPath, L"defaultkeymap.txt");
  loadKeymapsFrom(defaultPath);
}

void loadKeymapInteractive(HWND dialog, bool ask) {
  if (ask && !askForKeymapFile(dialog != nullptr ? dialog : shellState.mainWnd)) return;
  if (dialog != nullptr) SetDlgItemTextW(dialog, IDC_KEYMAP_PATH, shellState.keymapPath);
  shellState.appFlags |= kAppSettingsDirty;
  loadConfiguredKeymaps();
}
