#include "engine/keymap_image.h"

#include <cstdlib>
#include <cstring>

uint8_t* allocateKeymapImage(uint32_t size) {
  return static_cast<uint8_t*>(std::calloc(static_cast<size_t>(size) + kImageSpareBytes, 1));
}

void releaseKeymapImage(uint8_t* bytes) {
  std::free(bytes);
}

namespace {

// Length of a record whose bytes run from `offset` to `size`, from its own
// content; 0 when the record would leave the block.
uint32_t recordLength(const uint8_t* bytes, uint32_t size, uint32_t offset) {
  if (offset >= size) return 0;
  const uint32_t room = size - offset;
  const uint8_t* r = bytes + offset;
  uint32_t length = 0;
  switch (r[0]) {
    case kActionNop:
      length = 2;
      break;
    case kActionChar:
      if (room < 2 || r[1] == 0) return 0;
      length = 2 + 2u * r[1];
      break;
    case kActionCommand:
      length = 4;
      break;
    case kActionRaw:
      if (room < 3) return 0;
      length = 3u + r[2];
      break;
    case kActionExec: {
      // Two NUL-terminated strings from offset 2.
      uint32_t pos = 2;
      for (int strings = 0; strings < 2; ++strings) {
        const void* nul = pos < room ? std::memchr(r + pos, 0, room - pos) : nullptr;
        if (nul == nullptr) return 0;
        pos = static_cast<uint32_t>(static_cast<const uint8_t*>(nul) - r) + 1;
      }
      length = pos;
      break;
    }
    default:
      length = 1;  // unknown kinds are never executed beyond their kind byte
      break;
  }
  return length <= room ? length : 0;
}

uint32_t tableEnd(const uint8_t* bytes, uint32_t size) {
  if (size <= kKeyRecordsSize) return kKeyRecordsSize;
  return readU32(bytes + kKeyRecordsSize);
}

}  // namespace

bool isValidKeymapImage(const uint8_t* bytes, uint32_t size) {
  if (bytes == nullptr || size < kKeyRecordsSize) return false;
  uint32_t recordsStart = kKeyRecordsSize;
  if (size > kKeyRecordsSize) {
    if (size < kKeyRecordsSize + kActionTableEntrySize) return false;
    recordsStart = readU32(bytes + kKeyRecordsSize);
    if (recordsStart <= kKeyRecordsSize || recordsStart > size ||
        (recordsStart - kKeyRecordsSize) % kActionTableEntrySize != 0) {
      return false;
    }
    for (uint32_t entry = kKeyRecordsSize; entry < recordsStart; entry += kActionTableEntrySize) {
      const uint32_t offset = readU32(bytes + entry);
      if (offset < recordsStart || recordLength(bytes, size, offset) == 0) return false;
    }
  }
  for (int column = 0; column < kKeypadColumns; ++column) {
    const uint8_t* record = bytes + column * kKeyRecordSize;
    const uint32_t count = readU16(record + 2);
    const uint32_t actions = readU32(record + 4);
    if (actions < kKeyRecordsSize || actions > recordsStart ||
        (actions - kKeyRecordsSize) % kActionTableEntrySize != 0 ||
        count > (recordsStart - actions) / kActionTableEntrySize) {
      return false;
    }
  }
  return true;
}

uint32_t actionRecordsStart(const KeymapImage& image) {
  if (image.bytes == nullptr) return 0;
  return tableEnd(image.bytes, image.size);
}

uint32_t actionTableCount(const KeymapImage& image) {
  if (image.bytes == nullptr) return 0;
  return (actionRecordsStart(image) - kKeyRecordsSize) / kActionTableEntrySize;
}

uint32_t actionRecordSize(const KeymapImage& image, uint32_t offset) {
  if (image.bytes == nullptr) return 0;
  return recordLength(image.bytes, image.size, offset);
}

KeyRecord readKeyRecord(const KeymapImage& image, int column) {
  KeyRecord key;
  if (image.bytes == nullptr || column < 0 || column >= kKeypadColumns) return key;
  const uint8_t* record = image.bytes + column * kKeyRecordSize;
  key.type = readU16(record);
  key.actionCount = readU16(record + 2);
  key.actions = readU32(record + 4);
  return key;
}

void writeKeyRecord(uint8_t* at, const KeyRecord& key) {
  writeU16(at, key.type);
  writeU16(at + 2, key.actionCount);
  writeU32(at + 4, key.actions);
}

const uint8_t* keyActionRecord(const KeymapImage& image, const KeyRecord& key, uint32_t n) {
  if (image.bytes == nullptr || n >= key.actionCount) return nullptr;
  return image.bytes + readU32(image.bytes + key.actions + n * kActionTableEntrySize);
}

const uint8_t* actionRecordAt(const KeymapImage& image, uint32_t index) {
  if (index >= actionTableCount(image)) return nullptr;
  return image.bytes + readU32(image.bytes + kKeyRecordsSize + index * kActionTableEntrySize);
}

bool isInsideImage(const KeymapImage& image, const uint8_t* p) {
  if (image.bytes == nullptr || p == nullptr) return false;
  const auto begin = reinterpret_cast<uintptr_t>(image.bytes);
  const auto at = reinterpret_cast<uintptr_t>(p);
  return at >= begin && at - begin < image.size;
}
