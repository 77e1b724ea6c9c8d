#include "shell/ime_label.h"

#include "engine/engine_state.h"
#include "engine/platform_calls.h"
#include "shell/engine_lock.h"
#include "shell/resource_ids.h"
#include "shell/shell_state.h"
#include "shell/tray_icon.h"

namespace {

// The engine's IME fields, copied out so that the IME can be asked without
// the lock, and copied back.
struct ImeFields {
  ImeControl* control;
  uint32_t status;
  uint32_t conversion;
};

ImeFields readImeFields() {
  EngineLock lock;
  const EngineState& engine = shellState.engine;
  return {engine.imeControl, engine.imeStatus, engine.imeConversion};
}

// Runs an engine IME operation on a scratch state holding the fields, then
// stores what it learnt.
void askIme(void (*operation)(EngineState&)) {
  const ImeFields fields = readImeFields();
  EngineState scratch;
  scratch.imeControl = fields.control;
  scratch.imeStatus = fields.status;
  scratch.imeConversion = fields.conversion;
  operation(scratch);
  EngineLock lock;
  shellState.engine.imeStatus = scratch.imeStatus;
  shellState.engine.imeConversion = scratch.imeConversion;
}

}  // namespace

const wchar_t* imeLabelText(uint32_t imeStatus) {
  if ((imeStatus & kImeStatusOpen) == 0) return kImeLabelOff;
  return (imeStatus & kImeStatusKanaInput) != 0 ? kImeLabelKanaInput : kImeLabelOn;
}

void refreshImeLabel() {
  askIme(refreshImeStatus);
  showImeStatus();
}

void showImeLabel() {
  HWND dialog = shellState.settingsDialog;
  if (dialog == nullptr) return;
  SetDlgItemTextW(dialog, IDC_IME_LABEL, imeLabelText(readImeFields().status));
}

void switchImeAndShow() {
  askIme(switchIme);
  showImeStatus();
}

void showImeStatus() {
  showImeLabel();
#ifndef _WIN32_WCE
  showInputModeInTray();
#endif
}
