#include "sim/mozc/mozc_ime.h"

#include "engine/key_event.h"
#include "sim/device/keyboard_state.h"
#include "sim/device/romaji_composition.h"

namespace {

// Names of the keys mozc_emacs_helper knows by name.
const char* namedKey(uint8_t vk) {
  switch (vk) {
    case kVkBack:
      return "backspace";
    case kVkTab:
      return "tab";
    case kVkReturn:
      return "enter";
    case kVkEscape:
      return "escape";
    case kVkSpace:
      return "space";
    case 0x21:
      return "pageup";
    case 0x22:
      return "pagedown";
    case 0x23:
      return "end";
    case 0x24:
      return "home";
    case 0x25:
      return "left";
    case 0x26:
      return "up";
    case kVkRight:
      return "right";
    case 0x28:
      return "down";
    case 0x2E:
      return "delete";
    default:
      return nullptr;
  }
}

void eraseLastCharacter(std::string& text) {
  std::vector<std::string> characters = splitUtf8(text);
  if (characters.empty()) return;
  text.resize(text.size() - characters.back().size());
}

}  // namespace

MozcIme::MozcIme(MozcHelper& helper) : helper_(helper) {
  Sexp reply;
  if (!helper_.request("CreateSession", reply, error_)) return;
  session_ = sexpEntryText(reply, "emacs-session-id");
  if (session_.empty()) error_ = "mozc did not open a session";
}

MozcIme::~MozcIme() {
  if (!session_.empty() && error_.empty()) {
    Sexp reply;
    std::string ignored;
    helper_.request("DeleteSession " + session_, reply, ignored);
  }
}

void MozcIme::sendKeyDown(uint8_t vk) {
  keyboardKeyEvent(keyboard_, vk, true);
  if (vk == kVkKanji) {
    // Alt+Kanji is the IME's on/off key.
    if (altHeld(keyboard_)) sendKey("hankaku/zenkaku");
    return;
  }
  // Shortcuts with Ctrl or Alt belong to the application, not the IME.
  if (vk == kVkCapital || isModifierKey(vk) || ctrlHeld(keyboard_) || altHeld(keyboard_)) return;
  char c = 0;
  std::string key;
  if (const char* name = namedKey(vk)) {
    key = name;
  } else {
    c = typedCharacter(keyboard_, vk);
    if (c == 0) return;
    key = std::to_string(static_cast<unsigned char>(c));
  }
  if (!sendKey(key)) typeInApplication(vk, vk == kVkSpace ? ' ' : c);
}

void MozcIme::sendKeyUp(uint8_t vk) {
  keyboardKeyEvent(keyboard_, vk, false);
}

uint32_t MozcIme::conversionMode() const {
  // Windows' conversion bits for mozc's modes (roman input throughout).
  if (mode_ == "full-katakana") return 0x1B;
  if (mode_ == "half-katakana") return 0x13;
  if (mode_ == "full-ascii") return 0x18;
  if (mode_ == "half-ascii") return 0x10;
  return kImeConversionHiraganaRoman;
}

uint32_t MozcIme::compositionLength() {
  return static_cast<uint32_t>(splitUtf8(preedit_).size());
}

void MozcIme::switchTo(bool on) {
  if (on != imeOn()) sendKey("hankaku/zenkaku");
}

std::string MozcIme::modeName() const {
  if (mode_ == "direct") return "オフ";
  if (mode_ == "hiragana") return "ひらがな";
  if (mode_ == "full-katakana") return "全角カタカナ";
  if (mode_ == "half-katakana") return "半角カタカナ";
  if (mode_ == "full-ascii") return "全角英数";
  if (mode_ == "half-ascii") return "半角英数";
  return mode_;
}

bool MozcIme::sendKey(const std::string& key) {
  if (!error_.empty()) return true;
  Sexp reply;
  if (!helper_.request("SendKey " + session_ + " " + key, reply, error_)) return true;
  const Sexp* output = sexpEntry(reply, "output");
  if (output == nullptr) {
    error_ = "mozc did not take the key " + key;
    return true;
  }
  const std::string mode = sexpEntryText(*output, "mode");
  if (!mode.empty()) mode_ = mode;
  if (sexpEntryText(*output, "consumed") != "t") return false;
  if (const Sexp* result = sexpEntry(*output, "result")) {
    committed_ += sexpEntryText(*result, "value");
  }
  preedit_.clear();
  if (const Sexp* preedit = sexpEntry(*output, "preedit")) {
    // (segment SEGMENT...) entries, each segment with its (value . TEXT).
    for (const Sexp& entry : preedit->items) {
      if (entry.kind != Sexp::Kind::kList || entry.items.empty() ||
          entry.items[0].text != "segment") {
        continue;
      }
      for (size_t i = 1; i < entry.items.size(); ++i) {
        preedit_ += sexpEntryText(entry.items[i], "value");
      }
    }
  }
  return true;
}

void MozcIme::typeInApplication(uint8_t vk, char c) {
  if (vk == kVkBack) {
    eraseLastCharacter(committed_);
  } else if (vk == kVkReturn) {
    committed_ += '\n';
  } else if (c != 0) {
    committed_ += c;
  }
}
