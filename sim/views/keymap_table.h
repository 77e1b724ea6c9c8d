// `padquiltkana-sim table`: what each key of a keymap types, found by
// pressing the keys on a simulated device (the real engine and the emulated
// IME), not by decoding the image.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/keymap_image.h"
#include "sim/device/device_keyboard.h"
#include "sim/device/sim_device.h"

// One thing a key does, as a person reads it: the text it types, with a
// space shown as "[空白]" and a new line as "[Enter]"; else the keys it sends
// ("[Home]", "[Ctrl+C]") or the command it carries out ("[keymap5]",
// "[IMEオフ]", "[画面0度]", "[実行 "p" "a"]", "[コマンド3]"); "--" for
// nothing at all.
struct TableCell {
  std::string text;
  // The forms post-conversion steps through from here, in order, without
  // the cell's own text (empty when there are none).
  std::vector<std::string> forms;
};

struct TableKey {
  uint16_t type = 0;
  // Keys with a pair row (hasPairRow): the cells by second key, in column order.
  // Other keys: what each press of the key alone gives, one per action, for
  // at most kMostTablePresses actions.
  std::vector<TableCell> cells;
  // Actions beyond those.
  uint32_t notShown = 0;
};

// Each press is run on a fresh device after the presses before it, so a key
// with thousands of actions would take very long.
constexpr int kMostTablePresses = 64;

struct KeymapTable {
  int slot = 0;
  bool empty = true;
  uint32_t options = 0;
  bool screenRotated = false;
  bool imeOn = true;
  SimLayout layout = SimLayout::kUs;
  // Column of the key that steps post-conversion forms, or -1.
  int postColumn = -1;
  TableKey keys[kKeypadColumns];
};

// The options a slot is shown with: `options` with the input mode that uses
// the slot: kana toggle for 4 and 5, "ニコタッチ風" 2-touch for 2 and 3, else
// 2-touch.
uint32_t tableOptions(int slot, uint32_t options);
// Slots 6 and 7 are shown with the screen turned.
bool tableScreenRotated(int slot);

// Compiles the file and presses every key and pair of keys of `slot` on a
// fresh device each time, its keyboard of `layout`. Slot 5 runs with the IME
// off, every other slot with it on (hiragana, roman input). Compiler
// messages are not reported.
KeymapTable buildKeymapTable(const std::string& keymapPath, int slot, uint32_t options,
                             SimLayout layout = SimLayout::kUs);
// The same for the keymap (path or text) and the keyboard layout of
// `keymap`; its other settings are not used.
KeymapTable buildKeymapTable(const SimSettings& keymap, int slot, uint32_t options);

// The table as `table` prints it: a header line, a line per key that is not
// a plain pair key (its type and its cells), a grid of the pair keys (first
// key down, second key across) and the post-conversion forms.
std::string formatKeymapTable(const KeymapTable& table);
