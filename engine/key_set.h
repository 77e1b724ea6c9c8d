// A set of virtual keys 0-255, one bit per key: a plain 256-bit record that
// never allocates.
#pragma once

#include <cstdint>
#include <initializer_list>

struct KeySet {
  uint32_t words[8] = {};
};

inline bool keySetHas(const KeySet& set, uint8_t vk) {
  return ((set.words[vk >> 5] >> (vk & 31)) & 1u) != 0;
}

inline void keySetAdd(KeySet& set, uint8_t vk) {
  set.words[vk >> 5] |= 1u << (vk & 31);
}

inline void keySetRemove(KeySet& set, uint8_t vk) {
  set.words[vk >> 5] &= ~(1u << (vk & 31));
}

// True when some key is in both sets.
inline bool keySetsMeet(const KeySet& a, const KeySet& b) {
  for (int i = 0; i < 8; ++i) {
    if ((a.words[i] & b.words[i]) != 0) return true;
  }
  return false;
}

constexpr KeySet keySetUnion(const KeySet& a, const KeySet& b) {
  KeySet set;
  for (int i = 0; i < 8; ++i) set.words[i] = a.words[i] | b.words[i];
  return set;
}

constexpr KeySet keySetOf(std::initializer_list<uint8_t> keys) {
  KeySet set;
  for (uint8_t vk : keys) set.words[vk >> 5] |= 1u << (vk & 31);
  return set;
}
