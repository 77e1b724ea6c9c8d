// Printing a keymap table: cells padded by the columns they take in a
// terminal, where kana and full-width forms take two.
#include <cstdio>

#include "engine/engine_state.h"
#include "engine/key_names.h"
#include "sim/views/keymap_dump.h"
#include "sim/views/keymap_table.h"

namespace {

bool isWide(uint32_t c) {
  return (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0xA4CF) ||
         (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF) ||
         (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60) ||
         (c >= 0xFFE0 && c <= 0xFFE6);
}

// Terminal columns of UTF-8 text.
size_t displayWidth(const std::string& text) {
  size_t width = 0;
  for (size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    uint32_t c = length == 1 ? lead : lead & (0x3F >> (length - 1));
    for (size_t k = 1; k < length && i + k < text.size(); ++k) {
      c = (c << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
    }
    width += isWide(c) ? 2 : 1;
    i += length;
  }
  return width;
}

std::string padded(const std::string& text, size_t width) {
  const size_t used = displayWidth(text);
  return used >= width ? text : text + std::string(width - used, ' ');
}

std::string trimmed(std::string text) {
  while (!text.empty() && text.back() == ' ') text.pop_back();
  return text;
}

std::string joinedCells(const std::vector<TableCell>& cells) {
  std::string out;
  for (const TableCell& cell : cells) out += (out.empty() ? "" : " ") + cell.text;
  return out;
}

std::string keyLines(const KeymapTable& table) {
  std::string out;
  for (int column = 0; column < kKeypadColumns; ++column) {
    const TableKey& key = table.keys[column];
    if (key.type == kKeyTypeBell) continue;
    out += "  " + keypadKeyName(column) + "  " + keyTypeName(key.type);
    if (hasPairRow(key.type)) {
      out += " (row " + keypadKeyName(column) + " below)";
    } else if (!key.cells.empty()) {
      out += ":  " + joinedCells(key.cells);
      if (key.notShown != 0) out += " … (" + std::to_string(key.notShown) + " more)";
    }
    out += "\n";
  }
  return out;
}

std::string pairGrid(const KeymapTable& table) {
  size_t widths[kKeypadColumns];
  bool any = false;
  for (int second = 0; second < kKeypadColumns; ++second) {
    widths[second] = 1;
    for (const TableKey& key : table.keys) {
      if (!hasPairRow(key.type)) continue;
      any = true;
      const size_t width = displayWidth(key.cells[second].text);
      if (width > widths[second]) widths[second] = width;
    }
  }
  if (!any) return "";
  std::string out = "  pairs (first key down, second key across):\n       ";
  std::string header;
  for (int second = 0; second < kKeypadColumns; ++second) {
    header += padded(keypadKeyName(second), widths[second]) + " ";
  }
  out += trimmed(header) + "\n";
  for (int first = 0; first < kKeypadColumns; ++first) {
    const TableKey& key = table.keys[first];
    if (!hasPairRow(key.type)) continue;
    std::string row = "    " + keypadKeyName(first) + "  ";
    for (int second = 0; second < kKeypadColumns; ++second) {
      row += padded(key.cells[second].text, widths[second]) + " ";
    }
    out += trimmed(row) + "\n";
  }
  return out;
}

std::string postConversion(const KeymapTable& table) {
  std::string rows;
  for (int column = 0; column < kKeypadColumns; ++column) {
    std::string chains;
    for (const TableCell& cell : table.keys[column].cells) {
      if (cell.forms.empty()) continue;
      chains += (chains.empty() ? "" : " ") + cell.text;
      for (const std::string& form : cell.forms) chains += "→" + form;
    }
    if (!chains.empty()) rows += "    " + keypadKeyName(column) + "  " + chains + "\n";
  }
  if (rows.empty()) return "";
  return "  post-conversion with " + keypadKeyName(table.postColumn) + ":\n" + rows;
}

}  // namespace

std::string formatKeymapTable(const KeymapTable& table) {
  const std::string name = "keymap " + std::to_string(table.slot);
  if (table.empty) return name + ": empty\n";
  char options[16];
  std::snprintf(options, sizeof options, "0x%X", table.options);
  const bool toggle = (table.options & kOptionKanaToggle) != 0;
  return name + ": " + (toggle ? "kana toggle" : "2-touch") +
         (table.screenRotated ? ", screen turned" : "") + ", IME " + (table.imeOn ? "on" : "off") +
         (table.layout == SimLayout::kJis ? ", JIS keyboard" : "") + ", options " + options + "\n" +
         keyLines(table) + pairGrid(table) + postConversion(table);
}
