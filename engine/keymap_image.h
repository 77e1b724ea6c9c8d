// The compiled form of one keymap: one block holding 12 key records, the
// action table and the packed action records. Off the device the pointer
// fields hold offsets from the block's start; everything else is byte for
// byte as on the device (little-endian).
#pragma once

#include <cstddef>
#include <cstdint>

#include "engine/action_record.h"

// A keymap image as held by the engine: the block and the size of its used
// areas (the allocation has 4 spare bytes beyond `size`). bytes == nullptr
// means an empty slot.
struct KeymapImage {
  uint8_t* bytes = nullptr;
  uint32_t size = 0;
};

constexpr int kKeypadColumns = 12;
constexpr uint32_t kKeyRecordSize = 8;
constexpr uint32_t kKeyRecordsSize = kKeypadColumns * kKeyRecordSize;  // 96
constexpr uint32_t kActionTableEntrySize = 4;
constexpr uint32_t kImageSpareBytes = 4;

// Key types (type field of a key record). The comments give the default
// keymap's symbol of each.
enum KeyType : uint16_t {
  kKeyTypeNone = 0,            // any type outside 1-8: the key does nothing
  kKeyTypeBell = 1,            // PAIR, `bell` in the messages: begins a 2-touch pair
  kKeyTypeToggle = 2,          // TOGGLE: cycles through its actions
  kKeyTypeReverseToggle = 3,   // REVERSE: steps the running toggle back
  kKeyTypeNextEntry = 4,       // NEXT: post-conversion, next char entry
  kKeyTypePreviousEntry = 5,   // PREVIOUS: previous char entry
  kKeyTypeReverseOrPair = 6,   // REVERSE_PAIR: as 3, else begins a 2-touch pair
  kKeyTypeNextOrPair = 7,      // NEXT_PAIR: as 4, else begins a 2-touch pair
  kKeyTypePreviousOrPair = 8,  // PREVIOUS_PAIR: as 5, else begins a 2-touch pair
};

// The key types whose actions are a 2-touch row, one per second key: bell and
// the three that fall back to a pair. They need exactly 12 actions
// ("bellはactionが12個必要です").
constexpr bool hasPairRow(uint16_t type) {
  return type == kKeyTypeBell || type == kKeyTypeReverseOrPair || type == kKeyTypeNextOrPair ||
         type == kKeyTypePreviousOrPair;
}

struct KeyRecord {
  uint16_t type = 0;
  uint16_t actionCount = 0;
  uint32_t actions = 0;  // offset of the key's first action-table entry
};

inline uint16_t readU16(const uint8_t* p) {
  return static_cast<uint16_t>(p[0] | (p[1] << 8));
}
inline uint32_t readU32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
         (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
inline void writeU16(uint8_t* p, uint16_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
}
inline void writeU32(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}

// Allocates a zeroed block for an image whose areas take `size` bytes (plus
// the 4 spare bytes). Returns nullptr when memory is short.
uint8_t* allocateKeymapImage(uint32_t size);
void releaseKeymapImage(uint8_t* bytes);

// Checks that every key record's run lies inside the action table, every
// table entry points at a record inside the block, and every record's own
// length (entries, raw bytes, exec strings) ends inside the block. The engine
// adopts only images that pass, so readers below need no further checks.
bool isValidKeymapImage(const uint8_t* bytes, uint32_t size);

// Number of entries in the action table.
uint32_t actionTableCount(const KeymapImage& image);

// Offset of the first action record (end of the action table).
uint32_t actionRecordsStart(const KeymapImage& image);

// Size in bytes of the action record at `offset`, from its own bytes; 0 when
// it does not fit in the image (or a char list has no entries).
uint32_t actionRecordSize(const KeymapImage& image, uint32_t offset);

// Key record of a column (0-11); a zero record for any other column.
KeyRecord readKeyRecord(const KeymapImage& image, int column);

// Writes a key record at `at` (kKeyRecordSize bytes), `actions` as it is.
void writeKeyRecord(uint8_t* at, const KeyRecord& key);

// The n-th action record of a key, or nullptr when n is not below its count.
const uint8_t* keyActionRecord(const KeymapImage& image, const KeyRecord& key, uint32_t n);

// The action record of action-table entry `index`, or nullptr.
const uint8_t* actionRecordAt(const KeymapImage& image, uint32_t index);

// True when p points at a byte of the image's used areas.
bool isInsideImage(const KeymapImage& image, const uint8_t* p);
