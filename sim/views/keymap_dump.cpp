#include "sim/views/keymap_dump.h"

#include <cstdio>

#include "sim/views/key_names.h"

namespace {

std::string hexByte(uint8_t value) {
  char text[8];
  std::snprintf(text, sizeof text, "0x%02X", value);
  return text;
}

}  // namespace

const char* keyTypeName(uint16_t type) {
  switch (type) {
    case kKeyTypeBell:
      return "pair";
    case kKeyTypeToggle:
      return "toggle";
    case kKeyTypeReverseToggle:
      return "reverse toggle";
    case kKeyTypeNextEntry:
      return "next entry";
    case kKeyTypePreviousEntry:
      return "previous entry";
    case kKeyTypeReverseOrPair:
      return "reverse toggle or pair";
    case kKeyTypeNextOrPair:
      return "next entry or pair";
    case kKeyTypePreviousOrPair:
      return "previous entry or pair";
    default:
      return "none";
  }
}

std::string describeActionRecord(const uint8_t* record) {
  std::string text;
  switch (record[0]) {
    case kActionNop:
      return "nop";
    case kActionChar:
      text = "char";
      for (int i = 0; i < record[1]; ++i) {
        text += " (" + std::to_string(record[2 + 2 * i]) + "," + hexByte(record[3 + 2 * i]) + ")";
      }
      return text;
    case kActionCommand:
      return "command " + std::to_string(record[2]) + " " + std::to_string(record[3]);
    case kActionRaw:
      text = "raw";
      for (int i = 0; i < record[2]; ++i) text += " " + hexByte(record[3 + i]);
      return text;
    case kActionExec: {
      const char* path = reinterpret_cast<const char*>(record + 2);
      const std::string program = path;
      const std::string arguments = path + program.size() + 1;
      return "exec \"" + program + "\" \"" + arguments + "\"";
    }
    default:
      return "kind " + std::to_string(record[0]);
  }
}

std::string describeKeymapImage(const KeymapImage& image) {
  std::string text = "  " + std::to_string(actionTableCount(image)) + " actions, " +
                     std::to_string(image.size) + " bytes\n";
  for (int column = 0; column < kKeypadColumns; ++column) {
    const KeyRecord key = readKeyRecord(image, column);
    text += "  key " + keypadKeyName(column) + ": type " + std::to_string(key.type) + " (" +
            keyTypeName(key.type) + "), " + std::to_string(key.actionCount) + " actions\n";
    for (uint32_t n = 0; n < key.actionCount; ++n) {
      const uint8_t* record = keyActionRecord(image, key, n);
      if (record == nullptr) break;
      text += "    " + std::to_string(n) + ": " + describeActionRecord(record) + "\n";
    }
  }
  return text;
}
