// The device side of the simulated key stream: a keyboard (US or Japanese
// layout) feeding a Japanese IME and an application that shows the committed
// text. Key events
// arrive through KeyOutput exactly as they reach the device; the engine asks
// about the IME through ImeControl. The simulator's own emulation and a real
// IME (mozc) both stand here.
#pragma once

#include <string>

#include "engine/platform.h"
#include "sim/device/device_keyboard.h"

struct DeviceIme : KeyOutput, ImeControl {
  virtual ~DeviceIme() = default;

  // The user's IME key: on (hiragana, roman input) or off. Switching
  // commits the composition.
  virtual void switchTo(bool on) = 0;

  // The application's text and the composition after it (UTF-8).
  virtual std::string committedText() const = 0;
  virtual std::string composition() const = 0;
  std::string text() const { return committedText() + composition(); }

  virtual bool imeOn() const = 0;
  // The layout the IME reads the keys through.
  virtual void setLayout(SimLayout layout) = 0;
  // The IME's input mode as its own mode indicator names it: ひらがな,
  // 半角英数 and so on; オフ while it is off.
  virtual std::string modeName() const = 0;

  // Why the IME stopped working (a real IME's process can fail); empty
  // while it works.
  virtual std::string failure() const { return ""; }
};
