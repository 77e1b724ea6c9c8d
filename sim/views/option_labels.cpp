#include "sim/views/option_labels.h"

#include "engine/option_table.h"

std::string inputModeName(uint32_t options) {
  const OptionRow& mode = inputModeRow(options);
  std::string name = mode.label;
  if (mode.bits == kOptionTwoTouch && (options & kOptionNicoTouch) != 0) {
    name += " ";
    name += optionLabel(kOptionNicoTouch);
  }
  return name;
}
