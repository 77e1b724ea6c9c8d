#include "shell/ime_label.h"

#include "engine/key_event.h"
#include "shell/resource_ids.h"
#include "shell/shell_state.h"

void refreshImeLabel() {
  refreshImeStatus(shellState.engine);
  showImeLabel();
}

void showImeLabel() {
  HWND dialog = shellState.settingsDialog;
  if (dialog == nullptr) return;
  const bool open = (shellState.engine.imeStatus & kImeStatusOpen) != 0;
  SetDlgItemTextW(dialog, IDC_IME_LABEL, open ? L"IME ON" : L"IME OFF");
}
