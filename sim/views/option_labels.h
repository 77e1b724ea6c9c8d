// The option bits a user sets, each with the label of its control in the
// program's settings dialogs.
#pragma once

#include <cstdint>

struct OptionLabel {
  uint32_t bit;
  const char* label;
};

// In the order of the dialogs; the two input modes and the rotation
// behaviour (a combo box, bits 0x1800) are listed too.
extern const OptionLabel kOptionLabels[];
extern const int kOptionLabelCount;

// The input mode in the settings dialog's words: "無し", "かな入力・トグル式"
// or "2タッチ(ポケベル)入力", the latter followed by "ニコタッチ風" when set.
const char* inputModeName(uint32_t options);
