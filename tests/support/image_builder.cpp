#include "tests/support/image_builder.h"

#include <cstring>

Bytes nopAction() {
  return {kActionNop, 0};
}

Bytes charAction(std::initializer_list<std::pair<uint8_t, uint8_t>> entries) {
  Bytes record = {kActionChar, static_cast<uint8_t>(entries.size())};
  for (const auto& entry : entries) {
    record.push_back(entry.first);
    record.push_back(entry.second);
  }
  return record;
}

Bytes commandAction(uint8_t number, uint8_t parameter) {
  return {kActionCommand, 0, number, parameter};
}

Bytes rawAction(const Bytes& bytes) {
  Bytes record = {kActionRaw, 0, static_cast<uint8_t>(bytes.size())};
  record.insert(record.end(), bytes.begin(), bytes.end());
  return record;
}

Bytes execAction(const std::string& path, const std::string& arguments) {
  Bytes record = {kActionExec, 0};
  record.insert(record.end(), path.begin(), path.end());
  record.push_back(0);
  record.insert(record.end(), arguments.begin(), arguments.end());
  record.push_back(0);
  return record;
}

Bytes buildImageBytes(const TestKeymap& keymap) {
  std::vector<const Bytes*> records;
  for (const Bytes& record : keymap.leadingActions) records.push_back(&record);
  uint32_t firstEntry[kKeypadColumns];
  for (int column = 0; column < kKeypadColumns; ++column) {
    firstEntry[column] = static_cast<uint32_t>(records.size());
    for (const Bytes& record : keymap.keys[column].actions) records.push_back(&record);
  }
  const uint32_t tableStart = kKeyRecordsSize;
  const uint32_t recordsStart = tableStart + kActionTableEntrySize * records.size();
  Bytes image(recordsStart, 0);
  for (int column = 0; column < kKeypadColumns; ++column) {
    uint8_t* key = image.data() + column * kKeyRecordSize;
    writeU16(key, keymap.keys[column].type);
    writeU16(key + 2, static_cast<uint16_t>(keymap.keys[column].actions.size()));
    writeU32(key + 4, tableStart + kActionTableEntrySize * firstEntry[column]);
  }
  for (size_t i = 0; i < records.size(); ++i) {
    writeU32(image.data() + tableStart + kActionTableEntrySize * i,
             static_cast<uint32_t>(image.size()));
    image.insert(image.end(), records[i]->begin(), records[i]->end());
  }
  return image;
}

uint8_t* copyToImageBlock(const Bytes& bytes) {
  uint8_t* block = allocateKeymapImage(static_cast<uint32_t>(bytes.size()));
  if (!bytes.empty()) std::memcpy(block, bytes.data(), bytes.size());
  return block;
}

void installTestKeymap(EngineState& engine, uint32_t slot, const TestKeymap& keymap) {
  const Bytes bytes = buildImageBytes(keymap);
  installKeymap(engine, slot, copyToImageBlock(bytes), static_cast<uint32_t>(bytes.size()));
}
