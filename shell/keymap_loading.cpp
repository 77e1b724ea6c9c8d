#include "shell/keymap_loading.h"

#include <windows.h>
// windows.h first: commdlg.h needs its types.
#include <commdlg.h>

#include <cwchar>
#include <string>

#include "keymap/keymap_compiler.h"
#include "shell/program_messages.h"
#include "shell/resource_ids.h"
#include "shell/settings_store.h"
#include "shell/shell_state.h"
#include "shell/utf8_text.h"
#include "shell/win32_keymap_platform.h"

namespace {

// Units of the file-open dialog's name buffer.
constexpr int kOpenFileNameUnits = 254;

Win32KeymapPlatform* installedPlatform = nullptr;

// From the start of a load to its end, message boxes and file dialog
// included: a second load in that time would clear and fill the slots in the
// middle of the first one's compilation.
bool loadRunning = false;

Win32KeymapPlatform& keymapPlatform() {
  static Win32KeymapPlatform platform;
  return installedPlatform != nullptr ? *installedPlatform : platform;
}

void loadConfigured(HWND owner) {
  Win32KeymapPlatform& platform = keymapPlatform();
  platform.setMessageOwner(owner);
  if (shellState.keymapPath[0] != 0) {
    loadKeymapFile(shellState.engine, platform, utf8FromWide(shellState.keymapPath));
  } else {
    wchar_t defaultPath[kPathUnits] = {};
    if (programFolderPath(defaultPath, kDefaultKeymapFileName)) {
      loadKeymapFile(shellState.engine, platform, utf8FromWide(defaultPath));
    } else {
      // A load empties the slots whatever it finds; this one finds no file.
      clearKeymaps(shellState.engine);
      platform.showKeymapMessage(
          utf8FromWide(programFolderUnknownMessage(kDefaultKeymapFileName).c_str()));
    }
  }
  platform.setMessageOwner(nullptr);
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

void useKeymapPlatform(Win32KeymapPlatform* platform) {
  installedPlatform = platform;
}

void loadConfiguredKeymaps(HWND owner) {
  if (loadRunning) return;
  loadRunning = true;
  loadConfigured(owner);
  loadRunning = false;
}

void loadKeymapInteractive(HWND dialog, bool ask) {
  if (loadRunning) return;
  loadRunning = true;
  HWND owner = dialog != nullptr ? dialog : shellState.mainWnd;
  if (!ask || askForKeymapFile(owner)) {
    if (dialog != nullptr) SetDlgItemTextW(dialog, IDC_KEYMAP_PATH, shellState.keymapPath);
    shellState.appFlags |= kAppSettingsDirty;
    loadConfigured(owner);
  }
  loadRunning = false;
}

void loadDefaultKeymapInteractive(HWND dialog) {
  if (loadRunning) return;
  shellState.keymapPath[0] = 0;
  loadKeymapInteractive(dialog, false);
}
