#include "fcitx5/fcitx_ime_control.h"

#include <fcitx-utils/utf8.h>
#include <fcitx/action.h>
#include <fcitx/inputcontext.h>
#include <fcitx/inputmethodentry.h>
#include <fcitx/inputpanel.h>
#include <fcitx/instance.h>
#include <fcitx/userinterfacemanager.h>

#include <algorithm>

namespace {

// Windows IME conversion mode bits.
constexpr uint32_t kNative = 0x1;
constexpr uint32_t kKatakana = 0x2;
constexpr uint32_t kFullShape = 0x8;
constexpr uint32_t kRoman = 0x10;

struct MozcModeAction {
  MozcMode mode;
  const char* name;
};

constexpr MozcModeAction kMozcModeActions[] = {
    {MozcMode::Direct, "mozc-mode-direct"},
    {MozcMode::Hiragana, "mozc-mode-hiragana"},
    {MozcMode::FullKatakana, "mozc-mode-katakana_full"},
    {MozcMode::HalfAscii, "mozc-mode-alpha_half"},
    {MozcMode::FullAscii, "mozc-mode-alpha_full"},
    {MozcMode::HalfKatakana, "mozc-mode-katakana_half"},
};

size_t textLength(const fcitx::Text& text) {
  const std::string utf8 = text.toString();
  const size_t length = fcitx::utf8::length(utf8);
  return length == fcitx::utf8::INVALID_LENGTH ? utf8.size() : length;
}

}  // namespace

uint32_t conversionModeOf(MozcMode mode) {
  switch (mode) {
    case MozcMode::Direct:
      return 0;
    case MozcMode::FullKatakana:
      return kNative | kKatakana | kFullShape | kRoman;
    case MozcMode::HalfKatakana:
      return kNative | kKatakana | kRoman;
    case MozcMode::HalfAscii:
      return kRoman;
    case MozcMode::FullAscii:
      return kFullShape | kRoman;
    case MozcMode::Hiragana:
    case MozcMode::Unknown:
      break;
  }
  return kNative | kFullShape | kRoman;
}

bool FcitxImeControl::japaneseInputMethod() const {
  if (ic_ == nullptr) return false;
  const fcitx::InputMethodEntry* entry = instance_.inputMethodEntry(ic_);
  return entry != nullptr && !entry->isKeyboard() && entry->languageCode().compare(0, 2, "ja") == 0;
}

bool FcitxImeControl::isMozc() const {
  const fcitx::InputMethodEntry* entry = instance_.inputMethodEntry(ic_);
  return entry != nullptr && entry->addon() == "mozc";
}

MozcMode FcitxImeControl::mozcMode() const {
  auto& interfaces = instance_.userInterfaceManager();
  for (const MozcModeAction& row : kMozcModeActions) {
    const fcitx::Action* action = interfaces.lookupAction(row.name);
    if (action != nullptr && action->isChecked(ic_)) return row.mode;
  }
  return MozcMode::Unknown;
}

void FcitxImeControl::selectMozcMode(const char* actionName) {
  fcitx::Action* action = instance_.userInterfaceManager().lookupAction(actionName);
  if (action != nullptr) action->activate(ic_);
}

ImeAnswer FcitxImeControl::openStatus() {
  if (!japaneseInputMethod()) return imeAnswered(0);
  return imeAnswered(!isMozc() || mozcMode() != MozcMode::Direct ? 1 : 0);
}

ImeAnswer FcitxImeControl::conversionStatus() {
  if (!japaneseInputMethod()) return imeAnswered(0);
  return imeAnswered(conversionModeOf(isMozc() ? mozcMode() : MozcMode::Unknown));
}

void FcitxImeControl::setOpen(bool open) {
  if (ic_ == nullptr) return;
  if (!open) {
    // The keyboard layout, the first input method of the group.
    instance_.deactivate();
    return;
  }
  if (!japaneseInputMethod()) instance_.activate();
  if (isMozc() && mozcMode() == MozcMode::Direct) selectMozcMode("mozc-mode-hiragana");
}

void FcitxImeControl::setConversionMode(uint32_t conversion, uint32_t /*sentence*/) {
  if (ic_ == nullptr || !isMozc()) return;
  if ((conversion & kNative) != 0) selectMozcMode("mozc-mode-hiragana");
}

uint32_t FcitxImeControl::compositionLength() {
  if (ic_ == nullptr) return 0;
  fcitx::InputPanel& panel = ic_->inputPanel();
  return static_cast<uint32_t>(
      std::max(textLength(panel.clientPreedit()), textLength(panel.preedit())));
}
