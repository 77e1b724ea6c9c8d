// The engine's IME questions answered from fcitx5: the IME is open while the
// input context's input method is a Japanese one (not a keyboard layout) and,
// for mozc, not in its direct input mode; mozc's hiragana and katakana modes
// are the native (kana) conversion mode.
#pragma once

#include <cstdint>

#include "engine/platform.h"

namespace fcitx {
class Instance;
class InputContext;
}  // namespace fcitx

// mozc's composition modes, as its status actions name them.
enum class MozcMode { Unknown, Direct, Hiragana, FullKatakana, HalfAscii, FullAscii, HalfKatakana };

// The conversion mode a Windows IME reports for the mode: native (kana) for
// hiragana and katakana, full shape, roman input. A Japanese input method
// whose mode cannot be seen counts as hiragana.
uint32_t conversionModeOf(MozcMode mode);

class FcitxImeControl final : public ImeControl {
 public:
  explicit FcitxImeControl(fcitx::Instance& instance) : instance_(instance) {}

  // The input context of the key event being handled; null between events.
  void setInputContext(fcitx::InputContext* ic) { ic_ = ic; }

  // fcitx5 always answers: the input method of the context is known.
  ImeAnswer openStatus() override;
  ImeAnswer conversionStatus() override;
  void setOpen(bool open) override;
  void setConversionMode(uint32_t conversion, uint32_t sentence) override;
  uint32_t compositionLength() override;

 private:
  bool japaneseInputMethod() const;
  bool isMozc() const;
  MozcMode mozcMode() const;
  void selectMozcMode(const char* actionName);

  fcitx::Instance& instance_;
  fcitx::InputContext* ic_ = nullptr;
};
