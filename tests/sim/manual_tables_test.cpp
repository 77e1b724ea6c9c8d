// The manual's tables of the default keymap (chapter 9 of
// data/padquiltkanalt.txt) against what `table` finds by pressing the keys:
// a wrong cell in the manual fails here.
#include <gtest/gtest.h>
#include <iconv.h>

#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "engine/key_names.h"
#include "sim/views/keymap_table.h"
#include "tests/sim/sim_fixture.h"

namespace {

using Rows = std::map<std::string, std::vector<std::string>>;

// One keymap's tables, by key label: the candidate lists of the keys that
// are not pair keys ("後変換" for a post-conversion key without actions), the
// grid rows of the pair keys and the post-conversion chains ("か→が").
struct Tables {
  Rows candidates;
  Rows grid;
  Rows chains;
};

// The manual spells ゔ as う゛, which has a form in the device's code page.
std::string asTyped(std::string word) {
  const std::string spelled = "う゛";
  for (size_t at; (at = word.find(spelled)) != std::string::npos;)
    word.replace(at, spelled.size(), "ゔ");
  return word;
}

std::vector<std::string> words(const std::string& text) {
  std::vector<std::string> out;
  std::istringstream in(text);
  for (std::string word; in >> word;) out.push_back(asTyped(word));
  return out;
}

// The manual's chapter 9, by keymap number. A table begins at its header
// line ("  キー", "  一打目＼二打目", "  * (後変換)"); its rows are lines of
// two blanks, a key label, a blank and the cells; anything else ends it.
std::map<int, Tables> manualTables() {
  std::ifstream file(sourcePath("data/padquiltkanalt.txt"));
  std::map<int, Tables> tables;
  bool inChapter = false;
  Tables* current = nullptr;
  Rows* rows = nullptr;
  for (std::string line; std::getline(file, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.rfind("9. ", 0) == 0) inChapter = true;
    if (line.rfind("10. ", 0) == 0) break;
    if (!inChapter) continue;
    if (line.rfind("■ キーマップ", 0) == 0) {
      current = &tables[line[std::string("■ キーマップ").size()] - '0'];
      rows = nullptr;
    } else if (current != nullptr && line.rfind("  キー", 0) == 0) {
      rows = &current->candidates;
    } else if (current != nullptr && line.rfind("  一打目＼二打目", 0) == 0) {
      rows = &current->grid;
    } else if (current != nullptr && line.rfind("  * (後変換)", 0) == 0) {
      rows = &current->chains;
    } else if (rows != nullptr && line.size() > 4 && line.compare(0, 2, "  ") == 0 &&
               line[3] == ' ' && std::string(kKeypadKeys).find(line[2]) != std::string::npos) {
      std::vector<std::string> cells = words(line.substr(4));
      if (!cells.empty() && cells[0] == "後変換") cells = {"後変換"};
      (*rows)[line.substr(2, 1)] = cells;
    } else {
      rows = nullptr;
    }
  }
  return tables;
}

Tables pressedTables(int slot, uint32_t options) {
  const KeymapTable table = buildKeymapTable(defaultKeymapFile(), slot, options);
  Tables tables;
  for (int column = 0; column < kKeypadColumns; ++column) {
    const TableKey& key = table.keys[column];
    std::vector<std::string> cells;
    std::vector<std::string> chains;
    for (const TableCell& cell : key.cells) {
      cells.push_back(cell.text);
      if (cell.forms.empty()) continue;
      std::string chain = cell.text;
      for (const std::string& form : cell.forms) chain += "→" + form;
      chains.push_back(chain);
    }
    const std::string label = keypadKeyName(column);
    if (hasPairRow(key.type)) {
      tables.grid[label] = cells;
    } else if (!cells.empty()) {
      tables.candidates[label] = cells;
    } else if (key.type == kKeyTypeNextEntry || key.type == kKeyTypePreviousEntry) {
      tables.candidates[label] = {"後変換"};
    }
    if (!chains.empty()) tables.chains[label] = chains;
  }
  return tables;
}

TEST(ManualTablesTest, ChapterNineShowsWhatTheKeysType) {
  struct Shown {
    int slot;
    uint32_t options;
  };
  // The ニコタッチ風 table is shown with "IME制御(Atok/Wnn用)" on, as the
  // manual says.
  const Shown shown[] = {{4, kDefaultOptions},
                         {5, kDefaultOptions},
                         {0, kDefaultOptions},
                         {2, kDefaultOptions | kOptionImeControl},
                         {6, kDefaultOptions}};
  std::map<int, Tables> manual = manualTables();
  ASSERT_EQ(manual.size(), 5u);
  for (const Shown& s : shown) {
    const Tables pressed = pressedTables(s.slot, s.options);
    const Tables& written = manual[s.slot];
    EXPECT_EQ(written.candidates, pressed.candidates) << "keymap " << s.slot;
    EXPECT_EQ(written.grid, pressed.grid) << "keymap " << s.slot;
    EXPECT_EQ(written.chains, pressed.chains) << "keymap " << s.slot;
  }
}

// A device reads the manual in its code page (CP932 on a Japanese device):
// every character must have a form there.
TEST(ManualTablesTest, EveryCharacterOfTheManualHasACp932Form) {
  std::ifstream file(sourcePath("data/padquiltkanalt.txt"), std::ios::binary);
  std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  ASSERT_FALSE(text.empty());
  iconv_t convert = iconv_open("CP932", "UTF-8");
  ASSERT_NE(convert, reinterpret_cast<iconv_t>(-1));
  std::vector<char> out(text.size() * 2);
  char* in = text.data();
  size_t inLeft = text.size();
  char* outAt = out.data();
  size_t outLeft = out.size();
  const size_t result = iconv(convert, &in, &inLeft, &outAt, &outLeft);
  iconv_close(convert);
  const size_t at = text.size() - inLeft;
  EXPECT_NE(result, static_cast<size_t>(-1))
      << "no CP932 form at byte " << at << ": " << text.substr(at, 12);
}

}  // namespace
