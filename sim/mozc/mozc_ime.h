// mozc, a real Japanese IME, at the end of the simulated key stream. Key
// events are turned into the keys mozc_emacs_helper takes (the characters
// the keyboard's layout types, named editing keys); Alt+Kanji is the IME's on/off key. What
// mozc does not consume reaches the application, as on the device.
#pragma once

#include <cstdint>
#include <string>

#include "sim/device/device_ime.h"
#include "sim/device/keyboard_state.h"
#include "sim/mozc/mozc_helper.h"

class MozcIme final : public DeviceIme {
 public:
  // Opens a session of its own on a started helper, which must outlive it.
  explicit MozcIme(MozcHelper& helper);
  ~MozcIme() override;
  MozcIme(const MozcIme&) = delete;
  MozcIme& operator=(const MozcIme&) = delete;

  void sendKeyDown(uint8_t vk) override;
  void sendKeyUp(uint8_t vk) override;

  ImeAnswer openStatus() override { return imeAnswered(imeOn() ? 1 : 0); }
  ImeAnswer conversionStatus() override { return imeAnswered(conversionMode()); }
  void setOpen(bool open) override { switchTo(open); }
  void setConversionMode(uint32_t, uint32_t) override {}
  uint32_t compositionLength() override;

  void switchTo(bool on) override;
  std::string committedText() const override { return committed_; }
  std::string composition() const override { return preedit_; }
  bool imeOn() const override { return mode_ != "direct"; }
  void setLayout(SimLayout layout) override { keyboard_.layout = layout; }
  // Windows' conversion bits for mozc's input mode.
  uint32_t conversionMode() const;
  std::string modeName() const override;
  // Why mozc stopped answering. After a failure no more keys are sent.
  std::string failure() const override { return error_; }

 private:
  // Sends one key; returns whether mozc consumed it.
  bool sendKey(const std::string& key);
  void typeInApplication(uint8_t vk, char c);

  MozcHelper& helper_;
  std::string session_;
  std::string error_;
  std::string mode_ = "hiragana";
  std::string committed_;
  std::string preedit_;
  KeyboardState keyboard_;
};
