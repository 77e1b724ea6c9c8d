#include "shell/about_dialog.h"

#include "shell/ce_compat.h"
#include "shell/dialog_resources.h"
#include "shell/launch_file.h"
#include "shell/resource_ids.h"
#include "shell/settings_store.h"
#include "shell/shell_state.h"
#include "web_address.h"

INT_PTR CALLBACK aboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG: {
      initDeviceDialog(dialog, SHIDIF_DONEBUTTON | SHIDIF_SIZEDLGFULLSCREEN | SHIDIF_SIPDOWN);
      return TRUE;
    }
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDOK:
#ifndef _WIN32_WCE
        // The desktop caption's close box stands for the caption's OK button.
        case IDCANCEL:
#endif
          EndDialog(dialog, IDOK);
          return TRUE;
        case IDC_OPEN_WEB_PAGE:
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
