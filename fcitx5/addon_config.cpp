#include "fcitx5/addon_config.h"

namespace {

struct SettingLabel {
  uint32_t bit;
  const char* label;
};

constexpr SettingLabel kSettingLabels[] = {
    {kOptionAutoAdvance, "自動送り"},
    {kOptionAdvanceAfterStep, "後変換/逆トグル後も自動送りする"},
    {kOptionAutoCapsLock, "自動CapsLock"},
    {kOptionNicoTouch, "ニコタッチ風"},
    {kOptionImeControl, "IME制御(Atok/Wnn用)"},
    {kOptionClearCancelsStroke, "[クリア]キーで2タッチの一打目を取り消す"},
    {kOptionNumericKeypad, "テンキーを使う"},
};

// In the order of InputModeSetting.
constexpr const char* kInputModeNames[] = {"無し", "かな入力・トグル式", "2タッチ(ポケベル)入力"};

}  // namespace

const char* settingLabel(uint32_t optionBit) {
  for (const SettingLabel& row : kSettingLabels) {
    if (row.bit == optionBit) return row.label;
  }
  return "";
}

void InputModeLabels::dumpDescription(fcitx::RawConfig& config) const {
  for (size_t i = 0; i < std::size(kInputModeNames); ++i) {
    config.setValueByPath("EnumI18n/" + std::to_string(i), kInputModeNames[i]);
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
