// The kana table: for each of the 48 keys of the Japanese kana keyboard
// layout, the roman-letter key sequences that make the IME (roman input)
// compose its kana, and the remaps of the key typed as a direct character.
#pragma once

#include <cstdint>

constexpr int kKanaRowCount = 48;
constexpr int kKanaColumnCount = 6;

// Columns of the kana table.
enum KanaColumn : int {
  kKanaPlain = 0,             // modifier 1
  kKanaShifted = 1,           // modifier 3: small kana and symbols
  kKanaVoiced = 2,            // modifier 17: dakuten form
  kKanaSemiVoiced = 3,        // modifier 33: handakuten form
  kKanaDirectRemap = 4,       // modifier 8 (and 0)
  kKanaDirectShiftRemap = 5,  // modifier 10 (and 2)
};

// Row table value of a key outside the kana layout.
constexpr uint8_t kNotKanaKey = 0xFF;

// Bytes of a key sequence (columns 0-3) that are not keys to tap.
constexpr uint8_t kSequenceShiftDown = 0xF1;
constexpr uint8_t kSequenceShiftUp = 0xF0;

// The dakuten and handakuten keys of the kana layout.
constexpr uint8_t kVkDakuten = 0xC0;
constexpr uint8_t kVkHandakuten = 0xDB;

// Kana table row (0-47) of a virtual key, or kNotKanaKey.
uint8_t kanaRowOf(uint8_t vk);

// Virtual key of a row; 0 for a row outside 0-47.
uint8_t kanaRowKey(int row);

// The NUL-terminated cell, or nullptr for an empty cell or a row/column out
// of range. Columns 0-3 hold key sequences; columns 4-5 hold a remap: the key
// to type instead, then a non-zero byte when it is typed with Shift.
const uint8_t* kanaCell(int row, int column);
