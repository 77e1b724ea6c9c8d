#include "shell/advanced_dialog.h"

#include <cwchar>

#include "shell/ce_compat.h"
#include "shell/dialog_resources.h"
#include "shell/keymap_loading.h"
#include "shell/message_guard.h"
#include "shell/option_controls.h"
#include "shell/program_messages.h"
#include "shell/resource_ids.h"
#include "shell/settings_store.h"
#include "shell/shell_state.h"

namespace {

// Takes the path field's text as the keymap path; the file is loaded only at
// the next start or load. A text too long for the path buffer is not taken,
// so a path is never cut short.
void readKeymapPathField(HWND dialog) {
  HWND field = GetDlgItem(dialog, IDC_KEYMAP_PATH);
  if (field == nullptr) return;
  if (GetWindowTextLengthW(field) >= kPathUnits) return;
  wchar_t text[kPathUnits] = {};
  GetWindowTextW(field, text, kPathUnits);
  text[kPathUnits - 1] = 0;
  if (wcscmp(text, shellState.keymapPath) == 0) return;
  wcscpy(shellState.keymapPath, text);
  shellState.appFlags |= kAppSettingsDirty;
}

void endAdvancedDialog(HWND dialog) {
  shellState.appFlags &= ~static_cast<uint32_t>(kAppAdvancedOpen);
  EndDialog(dialog, IDOK);
}

}  // namespace

INT_PTR CALLBACK advancedDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
#ifndef _WIN32_WCE
  if (guardDialogMessage(dialog, message, wParam, lParam)) return TRUE;
#endif
  switch (message) {
#ifndef _WIN32_WCE
    case WM_DESTROY:
      unguardWindow(dialog);
      return FALSE;
#endif
    case WM_INITDIALOG: {
#ifndef _WIN32_WCE
      guardWindow(dialog, GuardedWindow::kDialog);
#endif
      initDeviceDialog(dialog, SHIDIF_DONEBUTTON | SHIDIF_SIZEDLGFULLSCREEN | SHIDIF_SIPDOWN);
      initOptionControls(dialog);
      updateAutoStartButtons(dialog);
      return TRUE;
    }
    case WM_COMMAND: {
#ifndef _WIN32_WCE
      // Only the dialog's own controls (and OK and cancel) give commands.
      if (!isControlCommand(dialog, wParam, lParam)) return FALSE;
#endif
      const int id = LOWORD(wParam);
      if (handleOptionCommand(dialog, id, HIWORD(wParam))) return TRUE;
      switch (id) {
        case IDOK:
#ifndef _WIN32_WCE
        // The desktop caption's close box stands for the done button.
        case IDCANCEL:
#endif
          endAdvancedDialog(dialog);
          return TRUE;
        case IDC_KEYMAP_PATH:
          readKeymapPathField(dialog);
          return TRUE;
        case IDC_LOAD_KEYMAP:
          loadKeymapInteractive(dialog, true);
          return TRUE;
        case IDC_CREATE_AUTOSTART:
          if (!createStartupShortcut()) {
            showProgramMessage(dialog, programFolderUnknownMessage(kProgramFileName).c_str());
          }
          updateAutoStartButtons(dialog);
          return TRUE;
        case IDC_DELETE_AUTOSTART:
          deleteStartupShortcut();
          updateAutoStartButtons(dialog);
          return TRUE;
        case IDC_DEFAULT_KEYMAP:
          loadDefaultKeymapInteractive(dialog);
          return TRUE;
        default:
          return FALSE;
      }
    }
    default:
      return FALSE;
  }
}
