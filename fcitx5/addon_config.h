// The add-on's settings as fcitx5 stores them (~/.config/fcitx5/conf/
// padquiltkana.conf) and its configuration tool shows them, each under the
// words of the Windows program's settings dialogs.
#pragma once

#include <fcitx-config/configuration.h>
#include <fcitx-config/enum.h>
#include <fcitx-config/option.h>
#include <fcitx-config/rawconfig.h>

#include <cstddef>
#include <string>

#include "fcitx5/addon_settings.h"

// Stored under these names; the configuration tool shows the labels below.
FCITX_CONFIG_ENUM_NAME(InputModeSetting, "None", "KanaToggle", "TwoTouch");

// The input modes as the settings dialog's radio buttons name them.
struct InputModeLabels {
  bool skipDescription() const { return false; }
  bool skipSave() const { return false; }
  void dumpDescription(fcitx::RawConfig& config) const;
};

// The label of a setting: the text of its control in the Windows dialogs.
const char* settingLabel(uint32_t optionBit);

// Labels of the settings that no option bit stands for.
constexpr const char* kInputModeLabel = "入力方式";
constexpr const char* kTimeoutLabel = "自動送りの時間 (msec)";
constexpr const char* kKeymapPathLabel = "キーマップファイル (空欄なら defaultkeymap.txt)";

inline const AddonSettings kDefaultSettings{};

FCITX_CONFIGURATION(
    AddonConfig, fcitx::Option<InputModeSetting, fcitx::NoConstrain<InputModeSetting>,
                               fcitx::DefaultMarshaller<InputModeSetting>, InputModeLabels>
                     inputMode{this, "InputMode", kInputModeLabel, kDefaultSettings.inputMode};
    fcitx::Option<bool> autoAdvance{this, "AutoAdvance", settingLabel(kOptionAutoAdvance),
                                    kDefaultSettings.autoAdvance};
    fcitx::Option<int, fcitx::IntConstrain> timeoutMs{
        this, "Timeout", kTimeoutLabel, kDefaultSettings.timeoutMs, fcitx::IntConstrain(0)};
    fcitx::Option<bool> advanceAfterStep{this, "AdvanceAfterStep",
                                         settingLabel(kOptionAdvanceAfterStep),
                                         kDefaultSettings.advanceAfterStep};
    fcitx::Option<bool> autoCapsLock{this, "AutoCapsLock", settingLabel(kOptionAutoCapsLock),
                                     kDefaultSettings.autoCapsLock};
    fcitx::Option<bool> nicoTouch{this, "NicoTouch", settingLabel(kOptionNicoTouch),
                                  kDefaultSettings.nicoTouch};
    fcitx::Option<bool> imeControl{this, "ImeControl", settingLabel(kOptionImeControl),
                                   kDefaultSettings.imeControl};
    fcitx::Option<bool> clearCancelsStroke{this, "ClearCancelsStroke",
                                           settingLabel(kOptionClearCancelsStroke),
                                           kDefaultSettings.clearCancelsStroke};
    fcitx::Option<bool> numericKeypad{this, "NumericKeypad", settingLabel(kOptionNumericKeypad),
                                      kDefaultSettings.numericKeypad};
    fcitx::Option<std::string> keymapPath{this, "KeymapPath", kKeymapPathLabel,
                                          kDefaultSettings.keymapPath};);

AddonSettings settingsOf(const AddonConfig& config);
