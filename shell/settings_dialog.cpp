#include "shell/settings_dialog.h"

#include "shell/advanced_dialog.h"
#include "shell/ce_compat.h"
#include "shell/dialog_resources.h"
#include "shell/ime_label.h"
#include "shell/message_guard.h"
#include "shell/option_controls.h"
#include "shell/resource_ids.h"
#include "shell/shell_state.h"

INT_PTR CALLBACK settingsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
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
      initDeviceDialog(dialog, SHIDIF_DONEBUTTON | SHIDIF_SIPDOWN);
      // Known before creation returns, so that the IME label is filled from
      // the start.
      shellState.settingsDialog = dialog;
      initOptionControls(dialog);
      return TRUE;
    }
    case WM_COMMAND: {
#ifndef _WIN32_WCE
      // Only the dialog's own controls (and OK and cancel) give commands.
      if (!isControlCommand(dialog, wParam, lParam)) return FALSE;
#endif
      const int id = LOWORD(wParam);
      if (handleOptionCommand(dialog, id, HIWORD(wParam))) return TRUE;
      if (id == IDC_OPEN_ADVANCED) {
        shellState.appFlags |= kAppAdvancedOpen;
        runDialogFromResource(IDD_ADVANCED, shellState.mainWnd, advancedDialogProc);
        return TRUE;
      }
      if (id == IDC_SWITCH_IME) {
        switchImeAndShow();
        return TRUE;
      }
      return FALSE;
    }
    default:
      return FALSE;
  }
}
