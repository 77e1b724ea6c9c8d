// The modeless settings dialog that fills the main window while the program
// is in front, and its IME state label.
#include "engine/key_event.h"
#include "shell/ce_compat.h"
#include "shell/dialogs.h"
#include "shell/resource_ids.h"
#include "shell/shell_state.h"

namespace {

void showImeState(HWND dialog) {
  const bool open = (shellState.engine.imeStatus & kImeStatusOpen) != 0;
  SetDlgItemTextW(dialog, IDC_IME_LABEL, open ? L"IME ON" : L"IME OFF");
}

}  // namespace

void refreshImeLabel() {
  refreshImeStatus(shellState.engine);
  if (shellState.settingsDialog != nullptr) showImeState(shellState.settingsDialog);
}

INT_PTR CALLBACK settingsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG: {
      initDeviceDialog(dialog, SHIDIF_DONEBUTTON | SHIDIF_SIPDOWN);
      // Known before creation returns, so that the IME label is filled from
      // the start.
      shellState.settingsDialog = dialog;
      initOptionControls(dialog);
      return TRUE;
    }
    case WM_COMMAND: {
      const int id = LOWORD(wParam);
      if (handleOptionCommand(dialog, id, HIWORD(wParam))) return TRUE;
      if (id == IDC_OPEN_ADVANCED) {
        shellState.appFlags |= kAppAdvancedOpen;
        runDialogFromResource(IDD_ADVANCED, shellState.mainWnd, advancedDialogProc);
        return TRUE;
      }
      if (id == IDC_SWITCH_IME) {
        switchIme(shellState.engine);
        if (shellState.settingsDialog != nullptr) showImeState(shellState.settingsDialog);
        return TRUE;
      }
      return FALSE;
    }
    default:
      return FALSE;
  }
}
