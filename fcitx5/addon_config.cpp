#include "fcitx5/addon_config.h"

#include "engine/option_table.h"

// The settings dialogs' own words, from the options table.
const char* settingLabel(uint32_t optionBit) {
  const char* label = optionLabel(optionBit);
  return label != nullptr ? label : "";
}

void InputModeLabels::dumpDescription(fcitx::RawConfig& config) const {
  // In the order of InputModeSetting: 無し, then the two modes.
  const uint32_t modes[] = {0, kOptionKanaToggle, kOptionTwoTouch};
  for (size_t i = 0; i < std::size(modes); ++i) {
    config.setValueByPath("EnumI18n/" + std::to_string(i), inputModeRow(modes[i]).label);
  }
}

AddonSettings settingsOf(const AddonConfig& config) {
  AddonSettings settings;
  settings.inputMode = *config.inputMode;
  settings.autoAdvance = *config.autoAdvance;
  settings.timeoutMs = *config.timeoutMs;
  settings.advanceAfterStep = *config.advanceAfterStep;
  settings.autoCapsLock = *config.autoCapsLock;
  settings.nicoTouch = *config.nicoTouch;
  settings.imeControl = *config.imeControl;
  settings.clearCancelsStroke = *config.clearCancelsStroke;
  settings.numericKeypad = *config.numericKeypad;
  settings.keymapPath = *config.keymapPath;
  return settings;
}
