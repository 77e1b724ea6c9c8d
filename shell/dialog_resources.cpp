#include "shell/dialog_resources.h"

#include "shell/ce_compat.h"
#include "shell/shell_state.h"

namespace {

const DLGTEMPLATE* dialogTemplate(int resourceId) {
  HRSRC found = FindResourceW(shellState.instance, MAKEINTRESOURCEW(resourceId),
                              MAKEINTRESOURCEW(5));  // RT_DIALOG
  if (found == nullptr) return nullptr;
  HGLOBAL loaded = LoadResource(shellState.instance, found);
  if (loaded == nullptr) return nullptr;
  return static_cast<const DLGTEMPLATE*>(LockResource(loaded));
}

}  // namespace

void initDeviceDialog(HWND dialog, DWORD flags) {
  SHINITDLGINFO info = {};
  info.dwMask = SHIDIM_FLAGS;
  info.hDlg = dialog;
  info.dwFlags = flags;
  SHInitDialog(&info);
}

HWND createDialogFromResource(int resourceId, HWND parent, DLGPROC procedure) {
  const DLGTEMPLATE* dialog = dialogTemplate(resourceId);
  if (dialog == nullptr) return nullptr;
  return CreateDialogIndirectParamW(shellState.instance, dialog, parent, procedure, 0);
}

INT_PTR runDialogFromResource(int resourceId, HWND owner, DLGPROC procedure) {
  const DLGTEMPLATE* dialog = dialogTemplate(resourceId);
  if (dialog == nullptr) return -1;
  return DialogBoxIndirectParamW(shellState.instance, dialog, owner, procedure, 0);
}
