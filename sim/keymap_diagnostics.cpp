#include "sim/keymap_diagnostics.h"

#include <cstring>

std::string formatKeymapMessage(const std::string& file, const std::string& text) {
  static const char kLineMark[] = "行:";
  size_t digits = 0;
  while (digits < text.size() && text[digits] >= '0' && text[digits] <= '9') ++digits;
  if (digits > 0 && text.compare(digits, std::strlen(kLineMark), kLineMark) == 0) {
    return file + ":" + text.substr(0, digits) + ": " + text;
  }
  return file + ": " + text;
}
