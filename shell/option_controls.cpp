#include "shell/option_controls.h"

#include <cstdint>
#include <cwchar>

#include "engine/engine_state.h"
#include "engine/key_event.h"
#include "shell/ime_label.h"
#include "shell/resource_ids.h"
#include "shell/rotation.h"
#include "shell/settings_store.h"
#include "shell/shell_state.h"

namespace {

struct CheckboxOption {
  int id;
  uint32_t bit;
};

constexpr CheckboxOption kCheckboxOptions[] = {
    {IDC_SWAP_CTRL_CAPS, kOptionSwapCtrlCaps},
    {IDC_SWAP_ESC_HANKAKU, kOptionSwapEscHankaku},
    {IDC_NICO_TOUCH, kOptionNicoTouch},
    {IDC_IME_CONTROL, kOptionImeControl},
    {IDC_AUTO_ADVANCE, kOptionAutoAdvance},
    {IDC_AUTO_CAPSLOCK, kOptionAutoCapsLock},
    {IDC_ADVANCE_AFTER_STEP, kOptionAdvanceAfterStep},
    {IDC_CLEAR_CANCELS_STROKE, kOptionClearCancelsStroke},
#ifndef _WIN32_WCE
    {IDC_NUMERIC_KEYPAD, kOptionNumericKeypad},
#endif
};

// A control is enabled when the input mode bits share a bit with its mask.
struct ModeDependentControl {
  int id;
  uint32_t mask;
};

constexpr uint32_t kInputModeBits = kOptionTwoTouch | kOptionKanaToggle;

constexpr ModeDependentControl kModeDependentControls[] = {
    {IDC_NICO_TOUCH, kOptionTwoTouch},     {IDC_IME_CONTROL, kInputModeBits},
    {IDC_AUTO_ADVANCE, kOptionKanaToggle}, {IDC_ADVANCE_AFTER_STEP, kOptionKanaToggle},
    {IDC_TIMEOUT, kOptionKanaToggle},      {IDC_AUTO_CAPSLOCK, kInputModeBits},
};

// Entries of the rotation combo box; the index is the rotation behaviour.
constexpr const wchar_t* kRotationEntries[] = {
    L"回転時keymap使用",
    L"KeyHookを開放",
    L"標準かなに戻す",
    L"何もしない",
};

// Longest timeout text read from its field.
constexpr int kTimeoutTextUnits = 30;

InputModeListener inputModeListener = nullptr;

EngineState& engine() {
  return shellState.engine;
}

void markDirty() {
  shellState.appFlags |= kAppSettingsDirty;
}

bool hasControl(HWND dialog, int id) {
  return GetDlgItem(dialog, id) != nullptr;
}

void selectInputMode(HWND dialog, uint32_t modeBits) {
  engine().options = (engine().options & ~kInputModeBits) | modeBits;
  selectModeKeymap(engine());
  if (dialog != nullptr) updateControlEnabling(dialog);
  markDirty();
  if (inputModeListener != nullptr) inputModeListener();
}

int modeRadioButton(uint32_t options) {
  if (options & kOptionTwoTouch) return IDC_MODE_TWO_TOUCH;
  if (options & kOptionKanaToggle) return IDC_MODE_KANA_TOGGLE;
  return IDC_MODE_NONE;
}

void showTimeout(HWND dialog) {
  wchar_t text[16];
  swprintf(text, 16, L"%d", static_cast<int>(engine().timeoutMs));
  SetDlgItemTextW(dialog, IDC_TIMEOUT, text);
}

// A whole number of milliseconds from 1 up, in digits only (full-width ones
// too, as the IME types them). A timeout of 0 or less would make every press
// a new character.
bool timeoutFromText(const wchar_t* text, int32_t& timeoutMs) {
  int64_t value = 0;
  if (text[0] == 0) return false;
  for (const wchar_t* at = text; *at != 0; ++at) {
    int digit;
    if (*at >= L'0' && *at <= L'9') {
      digit = *at - L'0';
    } else if (*at >= L'\xFF10' && *at <= L'\xFF19') {
      digit = *at - L'\xFF10';
    } else {
      return false;
    }
    value = value * 10 + digit;
    if (value > INT32_MAX) return false;
  }
  if (value < 1) return false;
  timeoutMs = static_cast<int32_t>(value);
  return true;
}

// A text that is no timeout is not taken: the stored value stays, and the
// field shows it again when the user leaves it.
void readTimeoutField(HWND dialog, bool leaving) {
  wchar_t text[kTimeoutTextUnits + 2] = {};
  GetDlgItemTextW(dialog, IDC_TIMEOUT, text, kTimeoutTextUnits + 2);
  int32_t timeout = 0;
  // A longer text was cut short by the read.
  const bool taken =
      wcslen(text) <= static_cast<size_t>(kTimeoutTextUnits) && timeoutFromText(text, timeout);
  if (!taken) {
    if (leaving) showTimeout(dialog);
    return;
  }
  if (timeout == engine().timeoutMs) return;
  engine().timeoutMs = timeout;
  markDirty();
}

void readRotationBehaviour(HWND dialog) {
  const LRESULT index = SendDlgItemMessageW(dialog, IDC_ROTATION_BEHAVIOUR, CB_GETCURSEL, 0, 0);
  if (index < 0 || index > 3) return;  // no selection
  if (static_cast<uint32_t>(index) == rotationBehaviour(engine().options)) return;
  engine().options = (engine().options & ~static_cast<uint32_t>(kOptionRotationMask)) |
                     rotationBehaviourBits(static_cast<uint32_t>(index));
  selectModeKeymap(engine());
  // Leaving behaviour 1 while it has the hook released brings the hook back.
  restoreKeyHookIfWanted();
  markDirty();
}

}  // namespace

void initOptionControls(HWND dialog) {
  for (const CheckboxOption& row : kCheckboxOptions) {
    const WPARAM state = (engine().options & row.bit) ? BST_CHECKED : BST_UNCHECKED;
    SendDlgItemMessageW(dialog, row.id, BM_SETCHECK, state, 0);
  }
  if (hasControl(dialog, IDC_TIMEOUT)) showTimeout(dialog);
  if (hasControl(dialog, IDC_ROTATION_BEHAVIOUR)) {
    SendDlgItemMessageW(dialog, IDC_ROTATION_BEHAVIOUR, CB_RESETCONTENT, 0, 0);
    for (const wchar_t* entry : kRotationEntries) {
      SendDlgItemMessageW(dialog, IDC_ROTATION_BEHAVIOUR, CB_ADDSTRING, 0,
                          reinterpret_cast<LPARAM>(entry));
    }
    SendDlgItemMessageW(dialog, IDC_ROTATION_BEHAVIOUR, CB_SETCURSEL,
                        rotationBehaviour(engine().options), 0);
  }
  const int mode = modeRadioButton(engine().options);
  if (hasControl(dialog, mode)) CheckRadioButton(dialog, IDC_MODE_NONE, IDC_MODE_TWO_TOUCH, mode);
  if (hasControl(dialog, IDC_KEYMAP_PATH)) {
    // No more than the path buffer holds: a longer path could only be stored
    // cut short.
    SendDlgItemMessageW(dialog, IDC_KEYMAP_PATH, EM_LIMITTEXT, kPathUnits - 1, 0);
    SetDlgItemTextW(dialog, IDC_KEYMAP_PATH, shellState.keymapPath);
  }
  updateControlEnabling(dialog);
  selectModeKeymap(engine());
  refreshImeLabel();
}

bool handleOptionCommand(HWND dialog, int id, int notification) {
  switch (id) {
    case IDC_MODE_NONE:
      if (hasControl(dialog, id)) selectInputMode(dialog, 0);
      return true;
    case IDC_MODE_KANA_TOGGLE:
      if (hasControl(dialog, id)) selectInputMode(dialog, kOptionKanaToggle);
      return true;
    case IDC_MODE_TWO_TOUCH:
      if (hasControl(dialog, id)) selectInputMode(dialog, kOptionTwoTouch);
      return true;
    case IDC_TIMEOUT:
      if (hasControl(dialog, id)) readTimeoutField(dialog, notification == EN_KILLFOCUS);
      return true;
    case IDC_ROTATION_BEHAVIOUR:
      if (hasControl(dialog, id)) readRotationBehaviour(dialog);
      return true;
    default:
      break;
  }
  for (const CheckboxOption& row : kCheckboxOptions) {
    if (row.id != id) continue;
    // A command for a check box the dialog lacks would read as unticked.
    if (hasControl(dialog, id)) {
      setOptionFromCheckbox(dialog, id, row.bit);
      if (id == IDC_NICO_TOUCH) selectModeKeymap(engine());
#ifndef _WIN32_WCE
      if (id == IDC_NUMERIC_KEYPAD) {
        // The other keys are the keypad from the next key event on.
        selectKeypadKeys(engine());
        resetInputState(engine());
      }
#endif
    }
    return true;
  }
  return false;
}

void switchInputMode(uint32_t modeBits) {
  HWND dialog = shellState.settingsDialog;
  selectInputMode(dialog, modeBits & kInputModeBits);
  if (dialog != nullptr) {
    CheckRadioButton(dialog, IDC_MODE_NONE, IDC_MODE_TWO_TOUCH, modeRadioButton(engine().options));
  }
}

void setInputModeListener(InputModeListener listener) {
  inputModeListener = listener;
}

void setOptionFromCheckbox(HWND dialog, int id, uint32_t bit) {
  if (SendDlgItemMessageW(dialog, id, BM_GETCHECK, 0, 0) == BST_CHECKED) {
    engine().options |= bit;
  } else {
    engine().options &= ~bit;
  }
  markDirty();
}

void updateControlEnabling(HWND dialog) {
  const uint32_t mode = engine().options & kInputModeBits;
  for (const ModeDependentControl& row : kModeDependentControls) {
    HWND control = GetDlgItem(dialog, row.id);
    if (control != nullptr) EnableWindow(control, (mode & row.mask) != 0);
  }
}

void updateAutoStartButtons(HWND dialog) {
  const bool exists = startupShortcutExists();
  HWND create = GetDlgItem(dialog, IDC_CREATE_AUTOSTART);
  HWND remove = GetDlgItem(dialog, IDC_DELETE_AUTOSTART);
  if (create != nullptr) EnableWindow(create, !exists);
  if (remove != nullptr) EnableWindow(remove, exists);
}
