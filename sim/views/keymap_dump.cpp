#include "sim/views/keymap_dump.h"

#include <cstdio>

#include "engine/key_names.h"

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
      return "bell";
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
  switch (actionKind(record)) {
    case kActionNop:
      return "nop";
    case kActionChar:
      text = "char";
      for (int i = 0; i < charListCount(record); ++i) {
        text += " (" + std::to_string(charEntryModifier(record, i)) + "," +
                hexByte(charEntryVk(record, i)) + ")";
      }
      return text;
    case kActionCommand:
      return "command " + std::to_string(commandNumber(record)) + " " +
             std::to_string(commandParameter(record));
    case kActionRaw:
      text = "raw";
      for (uint32_t i = 0; i < rawByteCount(record); ++i) {
        text += " " + hexByte(rawBytes(record)[i]);
      }
      return text;
    case kActionExec:
      return "exec \"" + std::string(execProgramPath(record)) + "\" \"" +
             std::string(execArguments(record)) + "\"";
    default:
      return "kind " + std::to_string(actionKind(record));
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
