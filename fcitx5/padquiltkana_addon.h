// The fcitx5 add-on: the keypad input method in front of the input method.
// A watcher sees every key event before the input method does, hands it to
// the engine and swallows what the engine swallows; the engine's keys go to
// the input context as synthetic key events (InputContextKeyOutput) and its
// IME questions are answered from fcitx5 and mozc (FcitxImeControl).
#pragma once

#include <fcitx/addoninstance.h>
#include <fcitx/addonmanager.h>
#include <fcitx/event.h>
#include <fcitx/instance.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/engine_state.h"
#include "fcitx5/addon_config.h"
#include "fcitx5/fcitx_ime_control.h"
#include "fcitx5/input_context_output.h"
#include "fcitx5/key_code_matcher.h"

class PadquiltkanaAddon final : public fcitx::AddonInstance {
 public:
  explicit PadquiltkanaAddon(fcitx::Instance* instance);
  ~PadquiltkanaAddon() override;

  // Reads the stored settings again (fcitx5's ReloadAddonConfig).
  void reloadConfig() override;
  const fcitx::Configuration* getConfig() const override { return &config_; }
  // Settings from the configuration tool: stored, and in effect from the
  // next key event.
  void setConfig(const fcitx::RawConfig& config) override;

 private:
  // Puts the settings into the engine and loads the keymap file again, so
  // that applying the settings also takes in an edited keymap.
  void applySettings();
  void loadKeymap(const AddonSettings& settings);
  void reportKeymapMessages(const std::string& path, const std::vector<std::string>& messages);
  void handleKey(fcitx::KeyEvent& event);
  void endInput();

  FCITX_ADDON_DEPENDENCY_LOADER(notifications, instance_->addonManager());

  fcitx::Instance* instance_;
  AddonConfig config_;
  EngineState engine_;
  InputContextKeyOutput output_;
  FcitxImeControl imeControl_;
  KeyCodeMatcher keyCodes_;
  std::string dataFolder_;
  std::vector<std::unique_ptr<fcitx::HandlerTableEntry<fcitx::EventHandler>>> watchers_;
};
