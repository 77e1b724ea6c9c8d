#include "shell/about_dialog.h"

#include "shell/ce_compat.h"
#include "shell/dialog_resources.h"
#include "shell/launch_file.h"
#include "shell/message_guard.h"
#include "shell/resource_ids.h"
#include "shell/settings_store.h"
#include "shell/shell_state.h"
#include "web_address.h"

namespace {

bool hasWebAddress() {
  return PQK_WEB_ADDRESS[0] != L'\0';
}

// A build without a web address shows no link to one.
void hideMissingWebAddress(HWND dialog) {
  if (hasWebAddress()) return;
  for (int id : {IDC_WEB_ADDRESS, IDC_OPEN_WEB_PAGE}) {
    HWND control = GetDlgItem(dialog, id);
    if (control != nullptr) ShowWindow(control, SW_HIDE);
  }
}

}  // namespace

INT_PTR CALLBACK aboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
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
      hideMissingWebAddress(dialog);
      return TRUE;
    }
    case WM_COMMAND:
#ifndef _WIN32_WCE
      // Only the dialog's own controls (and OK and cancel) give commands.
      if (!isControlCommand(dialog, wParam, lParam)) return FALSE;
#endif
      switch (LOWORD(wParam)) {
        case IDOK:
#ifndef _WIN32_WCE
        // The desktop caption's close box stands for the caption's OK button.
        case IDCANCEL:
#endif
          EndDialog(dialog, IDOK);
          return TRUE;
        case IDC_OPEN_WEB_PAGE:
          if (!hasWebAddress()) return TRUE;
          launchFile(PQK_WEB_ADDRESS, nullptr);
          EndDialog(dialog, IDC_OPEN_WEB_PAGE);
          return TRUE;
        case IDC_UNINSTALL_CLEANUP:
          deleteStartupShortcut();
          deleteSettingsKey();
          return TRUE;
        default:
          return FALSE;
      }
    default:
      return FALSE;
  }
}
