#include "shell/keymap_loading.h"

#include <windows.h>
// windows.h first: commdlg.h needs its types.
#include <commdlg.h>

#include <cwchar>
#include <string>

#include "keymap/keymap_compiler.h"
#include "shell/engine_lock.h"
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

// Puts the slots of `loaded` into the engine in one step and the engine's
// old images into `loaded`, as a load that empties every slot and installs
// the new images would leave them: a char list inside an old image ends
// without the CapsLock latch.
void swapInKeymaps(EngineState& loaded) {
  EngineLock lock;
  EngineState& engine = shellState.engine;
  for (int slot = 0; slot < kKeymapSlots; ++slot) {
    if (isInsideImage(engine.keymaps[slot], engine.activeCharList)) {
      engine.activeCharList = nullptr;
      engine.charIndex = 0;
    }
    const KeymapImage old = engine.keymaps[slot];
    engine.keymaps[slot] = loaded.keymaps[slot];
    loaded.keymaps[slot] = old;
  }
  engine.currentKeymap = nullptr;
  selectKeypadKeys(engine);
}

// The keymaps are compiled off to the side while the hook goes on with the
// old ones (the file read and the message boxes take as long as they take),
// then swapped in under the lock; the old images are released after, when
// nothing can read them any more.
void loadConfigured(HWND owner) {
  Win32KeymapPlatform& platform = keymapPlatform();
  platform.setMessageOwner(owner);
  EngineState loaded;
  if (shellState.keymapPath[0] != 0) {
    loadKeymapFile(loaded, platform, utf8FromWide(shellState.keymapPath));
  } else {
    wchar_t defaultPath[kPathUnits] = {};
    if (programFolderPath(defaultPath, kDefaultKeymapFileName)) {
      loadKeymapFile(loaded, platform, utf8FromWide(defaultPath));
    } else {
      // A load empties the slots whatever it finds; this one finds no file.
      platform.showKeymapMessage(
          utf8FromWide(programFolderUnknownMessage(kDefaultKeymapFileName).c_str()));
    }
  }
  platform.setMessageOwner(nullptr);
  swapInKeymaps(loaded);
  clearKeymaps(loaded);
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
