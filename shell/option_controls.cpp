#include "shell/option_controls.h"

#include <cstdint>
#include <cwchar>

#include "engine/engine_state.h"
#include "engine/key_event.h"
#include "engine/option_table.h"
#include "shell/engine_lock.h"
#include "shell/ime_label.h"
#include "shell/resource_ids.h"
#include "shell/rotation.h"
#include "shell/settings_store.h"
#include "shell/shell_state.h"
#include "shell/utf8_text.h"

namespace {

// The options table's rows that this platform's dialogs have.
bool onThisPlatform([[maybe_unused]] const OptionRow& row) {
#ifdef _WIN32_WCE
  return !row.desktopOnly;
#else
  return true;
#endif
}

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

// The engine's options and slot change under the engine lock; everything
// else here (the controls, the registry flag) is the UI thread's alone, and
// the UI thread is the only one that writes the options, so it reads them
// without the lock.
void selectInputMode(HWND dialog, uint32_t modeBits) {
  {
    EngineLock lock;
    engine().options = (engine().options & ~kInputModeBits) | modeBits;
    selectModeKeymap(engine());
  }
  if (dialog != nullptr) updateControlEnabling(dialog);
  markDirty();
  if (inputModeListener != nullptr) inputModeListener();
}

int modeRadioButton(uint32_t options) {
  return inputModeRow(options).controlId;
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
  {
    EngineLock lock;
    engine().timeoutMs = timeout;
  }
  markDirty();
}

void readRotationBehaviour(HWND dialog) {
  const LRESULT index = SendDlgItemMessageW(dialog, IDC_ROTATION_BEHAVIOUR, CB_GETCURSEL, 0, 0);
  if (index < 0 || index > 3) return;  // no selection
  if (static_cast<uint32_t>(index) == rotationBehaviour(engine().options)) return;
  {
    EngineLock lock;
    engine().options = (engine().options & ~static_cast<uint32_t>(kOptionRotationMask)) |
                       rotationBehaviourBits(static_cast<uint32_t>(index));
    selectModeKeymap(engine());
  }
  // Leaving behaviour 1 while it has the hook released brings the hook back.
  restoreKeyHookIfWanted();
  markDirty();
}

}  // namespace

void initOptionControls(HWND dialog) {
  for (const OptionRow& row : kOptionTable) {
    if (row.control != OptionControl::kCheckBox || !onThisPlatform(row)) continue;
    const WPARAM state = (engine().options & row.bits) ? BST_CHECKED : BST_UNCHECKED;
    SendDlgItemMessageW(dialog, row.controlId, BM_SETCHECK, state, 0);
  }
  if (hasControl(dialog, IDC_TIMEOUT)) showTimeout(dialog);
  if (hasControl(dialog, IDC_ROTATION_BEHAVIOUR)) {
    SendDlgItemMessageW(dialog, IDC_ROTATION_BEHAVIOUR, CB_RESETCONTENT, 0, 0);
    for (const char* entry : kRotationBehaviourLabels) {
      SendDlgItemMessageW(dialog, IDC_ROTATION_BEHAVIOUR, CB_ADDSTRING, 0,
                          reinterpret_cast<LPARAM>(wideFromUtf8(entry).c_str()));
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
  {
    EngineLock lock;
    selectModeKeymap(engine());
  }
  refreshImeLabel();
}

bool handleOptionCommand(HWND dialog, int id, int notification) {
  if (id == IDC_TIMEOUT) {
    if (hasControl(dialog, id)) readTimeoutField(dialog, notification == EN_KILLFOCUS);
    return true;
  }
  const OptionRow* row = optionRowOfControl(id);
  if (row == nullptr || !onThisPlatform(*row)) return false;
  // A command for a control the dialog lacks is passed over: a check box
  // would read as unticked.
  const bool present = hasControl(dialog, id);
  switch (row->control) {
    case OptionControl::kModeRadio:
      if (present) selectInputMode(dialog, row->bits);
      return true;
    case OptionControl::kComboBox:
      if (present) readRotationBehaviour(dialog);
      return true;
    case OptionControl::kCheckBox:
      if (present) {
        setOptionFromCheckbox(dialog, id, row->bits);
        EngineLock lock;
        if (row->bits == kOptionNicoTouch) selectModeKeymap(engine());
        if (row->bits == kOptionNumericKeypad) {
          // The other keys are the keypad from the next key event on.
          selectKeypadKeys(engine());
          resetInputState(engine());
        }
      }
      return true;
    case OptionControl::kNone:
      break;
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
  const bool checked = SendDlgItemMessageW(dialog, id, BM_GETCHECK, 0, 0) == BST_CHECKED;
  {
    EngineLock lock;
    if (checked) {
      engine().options |= bit;
    } else {
      engine().options &= ~bit;
    }
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
