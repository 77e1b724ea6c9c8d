#include "fcitx5/addon_settings.h"

namespace {

struct OptionSetting {
  bool AddonSettings::*field;
  uint32_t bit;
};

constexpr OptionSetting kOptionSettings[] = {
    {&AddonSettings::autoAdvance, kOptionAutoAdvance},
    {&AddonSettings::advanceAfterStep, kOptionAdvanceAfterStep},
    {&AddonSettings::autoCapsLock, kOptionAutoCapsLock},
    {&AddonSettings::nicoTouch, kOptionNicoTouch},
    {&AddonSettings::imeControl, kOptionImeControl},
    {&AddonSettings::clearCancelsStroke, kOptionClearCancelsStroke},
    {&AddonSettings::numericKeypad, kOptionNumericKeypad},
};

}  // namespace

uint32_t engineOptionsOf(const AddonSettings& settings) {
  uint32_t options = 0;
  switch (settings.inputMode) {
    case InputModeSetting::KanaToggle:
      options |= kOptionKanaToggle;
      break;
    case InputModeSetting::TwoTouch:
      options |= kOptionTwoTouch;
      break;
    case InputModeSetting::None:
      break;
  }
  for (const OptionSetting& row : kOptionSettings) {
    if (settings.*row.field) options |= row.bit;
  }
  return options;
}

std::string keymapFileOf(const AddonSettings& settings, const std::string& homeFolder,
                         const std::string& dataFolder) {
  const std::string& path = settings.keymapPath;
  if (path.empty()) return dataFolder + "/" + kDefaultKeymapName;
  if (path[0] == '/') return path;
  if (path == "~") return homeFolder;
  if (path.compare(0, 2, "~/") == 0) return homeFolder + path.substr(1);
  return homeFolder + "/" + path;
}
