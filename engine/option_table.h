// The options table: every option of the settings dialogs with its bits in
// EngineState::options, the dialogs' own label, its control and whether the
// "Flag" value stores it. The settings dialogs' controls, the simulator's
// labels and --help, and the tests read it; an option's label is written here
// and in the resource script (shell/padquiltkana.rc) and nowhere else.
//
// Control ids are defined in shell/resource_ids.h, which the resource script
// reads too; the rows repeat them as plain numbers, and the shell tests check
// every row against the real dialogs (id, kind and label).
#pragma once

#include <cstdint>

#include "engine/engine_state.h"

enum class OptionControl : uint8_t {
  kModeRadio,  // one of the three input-mode radio buttons
  kCheckBox,
  kComboBox,  // the rotation behaviour: a field of two bits
  kNone,      // run-time state: no control shows it
};

enum class OptionStorage : uint8_t {
  kStored,   // saved in "Flag" and loaded from it
  kRunTime,  // bits 16-23 of "Flag": state of one run, never saved or loaded
};

struct OptionRow {
  // The option's bits; 0 for the radio button "無し" (neither input mode).
  uint32_t bits;
  // The control's text, UTF-8, byte for byte as the dialogs show it; null for
  // run-time state.
  const char* label;
  // The control's id (shell/resource_ids.h); 0 for none.
  int controlId;
  OptionControl control;
  OptionStorage storage;
  // Desktop Windows only: Windows CE's dialogs have no such control.
  bool desktopOnly;
};

// In the order of the dialogs: the settings dialog, then the advanced one.
inline constexpr OptionRow kOptionTable[] = {
    {0, "無し", 1023, OptionControl::kModeRadio, OptionStorage::kStored, false},
    {kOptionKanaToggle, "かな入力・トグル式", 1024, OptionControl::kModeRadio,
     OptionStorage::kStored, false},
    {kOptionTwoTouch, "2タッチ(ポケベル)入力", 1025, OptionControl::kModeRadio,
     OptionStorage::kStored, false},
    {kOptionAutoAdvance, "自動送り", 1026, OptionControl::kCheckBox, OptionStorage::kStored, false},
    {kOptionAdvanceAfterStep, "後変換/逆トグル後も自動送りする", 1038, OptionControl::kCheckBox,
     OptionStorage::kStored, false},
    {kOptionAutoCapsLock, "自動CapsLock", 1033, OptionControl::kCheckBox, OptionStorage::kStored,
     false},
    {kOptionNicoTouch, "ニコタッチ風", 1030, OptionControl::kCheckBox, OptionStorage::kStored,
     false},
    {kOptionImeControl, "IME制御(Atok/Wnn用)", 1031, OptionControl::kCheckBox,
     OptionStorage::kStored, false},
    {kOptionSwapCtrlCaps, "Ctrl-Caps 交換", 1040, OptionControl::kCheckBox, OptionStorage::kStored,
     false},
    {kOptionSwapEscHankaku, "Esc-半全 交換", 1041, OptionControl::kCheckBox, OptionStorage::kStored,
     false},
    {kOptionRotationMask, "画面回転時の動作", 1051, OptionControl::kComboBox,
     OptionStorage::kStored, false},
    {kOptionClearCancelsStroke, "[クリア]キーで2タッチの一打目を取り消す", 1054,
     OptionControl::kCheckBox, OptionStorage::kStored, false},
    {kOptionNumericKeypad, "テンキーを使う", 1062, OptionControl::kCheckBox, OptionStorage::kStored,
     true},
    // Once bits of the option word, now fields of their own: the screen is
    // turned (EngineState::screenRotated) and CapsLock is pending
    // (EngineState::capsLockPending).
    {0x10000, nullptr, 0, OptionControl::kNone, OptionStorage::kRunTime, false},
    {0x80000, nullptr, 0, OptionControl::kNone, OptionStorage::kRunTime, false},
};

// The entries of the rotation behaviour's combo box; the index is the
// behaviour (RotationBehaviour).
inline constexpr const char* kRotationBehaviourLabels[] = {
    "回転時keymap使用",
    "KeyHookを開放",
    "標準かなに戻す",
    "何もしない",
};

// The row of the input mode that `options` selects, one of the three radio
// buttons. With both mode bits set, 2-touch counts, as in selectModeKeymap.
constexpr const OptionRow& inputModeRow(uint32_t options) {
  const uint32_t mode =
      (options & kOptionTwoTouch) != 0 ? uint32_t{kOptionTwoTouch} : options & kOptionKanaToggle;
  for (const OptionRow& row : kOptionTable) {
    if (row.control == OptionControl::kModeRadio && row.bits == mode) return row;
  }
  return kOptionTable[0];
}

// The row of a control, or nullptr when no option has that control.
constexpr const OptionRow* optionRowOfControl(int controlId) {
  for (const OptionRow& row : kOptionTable) {
    if (row.controlId != 0 && row.controlId == controlId) return &row;
  }
  return nullptr;
}

// The label of an option (not "無し"), or nullptr.
constexpr const char* optionLabel(uint32_t bits) {
  for (const OptionRow& row : kOptionTable) {
    if (bits != 0 && row.bits == bits) return row.label;
  }
  return nullptr;
}

// Each option and each control has one row; stored options lie inside the
// part of the word that "Flag" keeps, run-time state outside it.
constexpr bool optionTableIsConsistent() {
  constexpr int rows = sizeof kOptionTable / sizeof kOptionTable[0];
  for (int i = 0; i < rows; ++i) {
    const OptionRow& row = kOptionTable[i];
    const bool inside = (row.bits & ~kStoredOptionsMask) == 0;
    if (inside != (row.storage == OptionStorage::kStored)) return false;
    if ((row.controlId == 0) != (row.control == OptionControl::kNone)) return false;
    for (int j = i + 1; j < rows; ++j) {
      if (kOptionTable[j].bits == row.bits) return false;
      if (row.controlId != 0 && kOptionTable[j].controlId == row.controlId) return false;
    }
  }
  return true;
}
static_assert(optionTableIsConsistent(), "one row per option and control, stored in \"Flag\"");
