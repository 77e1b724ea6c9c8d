#include "engine/key_names.h"

#include <cstdio>

#include "engine/engine_state.h"

namespace {

struct NamedKey {
  uint8_t vk;
  const char* name;
  const char* label;  // as a table shows it, when that differs from the name
};

constexpr NamedKey kNamedKeys[] = {
    {0x03, "Cancel", nullptr},
    {0x08, "Backspace", nullptr},
    {0x09, "Tab", nullptr},
    {0x0C, "Clear", nullptr},
    {0x0D, "Enter", nullptr},
    {0x10, "Shift", nullptr},
    {0x11, "Ctrl", nullptr},
    {0x12, "Alt", nullptr},
    {0x13, "Pause", nullptr},
    {0x14, "CapsLock", nullptr},
    {0x15, "Kana", nullptr},
    {0x19, "Kanji", nullptr},
    {0x1B, "Esc", nullptr},
    {0x1C, "Convert", nullptr},
    {0x1D, "NonConvert", nullptr},
    {0x20, "Space", nullptr},
    {0x21, "PageUp", nullptr},
    {0x22, "PageDown", nullptr},
    {0x23, "End", nullptr},
    {0x24, "Home", nullptr},
    {0x25, "Left", "←"},
    {0x26, "Up", "↑"},
    {0x27, "Right", "→"},
    {0x28, "Down", "↓"},
    {0x2C, "PrintScreen", nullptr},
    {0x2D, "Insert", nullptr},
    {0x2E, "Delete", nullptr},
    {0x5B, "LWin", nullptr},
    {0x5C, "RWin", nullptr},
    {0x5D, "Apps", nullptr},
    {0x6A, "Num*", nullptr},
    {0x6B, "Num+", nullptr},
    {0x6C, "NumEnter", nullptr},
    {0x6D, "Num-", nullptr},
    {0x6E, "Num.", nullptr},
    {0x6F, "Num/", nullptr},
    {0x90, "NumLock", nullptr},
    {0x91, "ScrollLock", nullptr},
    {0xA0, "LShift", nullptr},
    {0xA1, "RShift", nullptr},
    {0xA2, "LCtrl", nullptr},
    {0xA3, "RCtrl", nullptr},
    {0xA4, "LAlt", nullptr},
    {0xA5, "RAlt", nullptr},
    {0xBA, ";", nullptr},
    {0xBB, "=", nullptr},
    {0xBC, ",", nullptr},
    {0xBD, "-", nullptr},
    {0xBE, ".", nullptr},
    {0xBF, "/", nullptr},
    {0xC0, "`", nullptr},
    {0xDB, "[", nullptr},
    {0xDC, "\\", nullptr},
    {0xDD, "]", nullptr},
    {0xDE, "'", nullptr},
    {0xE2, "OEM102", nullptr},
    {0xF0, "Eisu", nullptr},
    {0xF3, "Hankaku", nullptr},
    {0xF4, "Zenkaku", nullptr},
};

const NamedKey* namedKey(uint8_t vk) {
  for (const NamedKey& key : kNamedKeys) {
    if (key.vk == vk) return &key;
  }
  return nullptr;
}

// The name, or "" for a code without one.
std::string nameOf(uint8_t vk) {
  if ((vk >= '0' && vk <= '9') || (vk >= 'A' && vk <= 'Z')) return std::string(1, char(vk));
  if (vk >= 0x60 && vk <= 0x69) return "Num" + std::to_string(vk - 0x60);
  if (vk >= 0x70 && vk <= 0x87) return "F" + std::to_string(vk - 0x70 + 1);
  const NamedKey* key = namedKey(vk);
  return key != nullptr ? key->name : "";
}

}  // namespace

std::string virtualKeyName(uint8_t vk) {
  const std::string name = nameOf(vk);
  return name.empty() ? "-" : name;
}

std::string virtualKeyNameOrHex(uint8_t vk) {
  const std::string name = nameOf(vk);
  if (!name.empty()) return name;
  char hex[8];
  std::snprintf(hex, sizeof hex, "0x%02X", vk);
  return hex;
}

std::string virtualKeyLabel(uint8_t vk) {
  const NamedKey* key = namedKey(vk);
  if (key != nullptr && key->label != nullptr) return key->label;
  return virtualKeyNameOrHex(vk);
}

std::string keypadKeyName(int column) {
  if (column < 0 || column >= kKeypadColumns) return "?";
  return std::string(1, kKeypadKeys[column]);
}
