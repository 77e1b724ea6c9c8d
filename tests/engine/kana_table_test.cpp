#include "engine/kana_table.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

// Writes a cell in the notation of the layout reference: letters and digits
// as themselves, other keys as {XX}, Shift bytes as {+Sh}/{-Sh}; remaps as
// their key followed by " +Sh" when typed with Shift; "-" for an empty cell.
std::string keyText(uint8_t byte) {
  if ((byte >= '0' && byte <= '9') || (byte >= 'A' && byte <= 'Z')) {
    return std::string(1, static_cast<char>(byte));
  }
  char text[8];
  std::snprintf(text, sizeof text, "{%02X}", byte);
  return text;
}

std::string sequenceText(const uint8_t* cell) {
  if (cell == nullptr) return "-";
  std::string text;
  for (const uint8_t* p = cell; *p != 0; ++p) {
    if (*p == kSequenceShiftDown) {
      text += "{+Sh}";
    } else if (*p == kSequenceShiftUp) {
      text += "{-Sh}";
    } else {
      text += keyText(*p);
    }
  }
  return text;
}

std::string remapText(const uint8_t* cell) {
  if (cell == nullptr) return "-";
  std::string text = keyText(cell[0]);
  if (cell[1] != 0) text += " +Sh";
  return text;
}

std::string cellText(int row, int column) {
  const uint8_t* cell = kanaCell(row, column);
  return column < kKanaDirectRemap ? sequenceText(cell) : remapText(cell);
}

struct ExpectedRow {
  uint8_t vk;
  const char* cells[kKanaColumnCount];
};

// The layout reference, row by row.
const ExpectedRow kExpected[kKanaRowCount] = {
    {0x30, {"WA", "WO", "WA", "WA", "-", "-"}},
    {0x31, {"NU", "{+Sh}1{-Sh}", "NU", "NU", "-", "-"}},
    {0x32, {"FU", "{+Sh}{DE}{-Sh}", "BU", "PU", "-", "{DE} +Sh"}},
    {0x33, {"A", "XA", "A", "A", "-", "-"}},
#ifdef _WIN32_WCE
    {0x34, {"U", "XU", "U", "U", "-", "-"}},
#else
    {0x34, {"U", "XU", "VU", "U", "-", "-"}},  // ゔ, as a desktop IME composes it
#endif
    {0x35, {"E", "XE", "E", "E", "-", "-"}},
    {0x36, {"O", "XO", "O", "O", "-", "7 +Sh"}},
    {0x37, {"YA", "XYA", "YA", "YA", "-", "{DE}"}},
    {0x38, {"YU", "XYU", "YU", "YU", "-", "9 +Sh"}},
    {0x39, {"YO", "XYO", "YO", "YO", "-", "0 +Sh"}},
    {0x41, {"TI", "-", "DI", "TI", "-", "-"}},
    {0x42, {"KO", "-", "GO", "KO", "-", "-"}},
    {0x43, {"SO", "-", "ZO", "SO", "-", "-"}},
    {0x44, {"SI", "-", "ZI", "SI", "-", "-"}},
    {0x45, {"I", "XI", "I", "I", "-", "-"}},
    {0x46, {"HA", "-", "BA", "PA", "-", "-"}},
    {0x47, {"KI", "-", "GI", "KI", "-", "-"}},
    {0x48, {"KU", "-", "GU", "KU", "-", "-"}},
    {0x49, {"NI", "-", "NI", "NI", "-", "-"}},
    {0x4A, {"MA", "-", "MA", "MA", "-", "-"}},
    {0x4B, {"NO", "-", "NO", "NO", "-", "-"}},
    {0x4C, {"RI", "-", "RI", "RI", "-", "-"}},
    {0x4D, {"MO", "-", "MO", "MO", "-", "-"}},
    {0x4E, {"MI", "-", "MI", "MI", "-", "-"}},
    {0x4F, {"RA", "-", "RA", "RA", "-", "-"}},
    {0x50, {"SE", "-", "ZE", "SE", "-", "-"}},
    {0x51, {"TA", "-", "DA", "TA", "-", "-"}},
    {0x52, {"SU", "-", "ZU", "SU", "-", "-"}},
    {0x53, {"TO", "-", "DO", "TO", "-", "-"}},
    {0x54, {"KA", "-", "GA", "KA", "-", "-"}},
    {0x55, {"NA", "-", "NA", "NA", "-", "-"}},
    {0x56, {"HI", "-", "BI", "PI", "-", "-"}},
    {0x57, {"TE", "-", "DE", "TE", "-", "-"}},
    {0x58, {"SA", "-", "ZA", "SA", "-", "-"}},
    {0x59, {"NN", "-", "NN", "NN", "-", "-"}},
    {0x5A, {"TU", "XTU", "DU", "TU", "-", "-"}},
    {0xBA, {"RE", "{+Sh}{BB}{-Sh}", "RE", "RE", "-", "{BB} +Sh"}},
    {0xBB, {"HE", "{+Sh}{C0}{-Sh}", "BE", "PE", "6 +Sh", "{C0} +Sh"}},
    {0xBC, {"NE", "{BC}", "NE", "NE", "-", "-"}},
    {0xBD, {"HO", "{BB}", "BO", "PO", "-", "{BB}"}},
    {0xBE, {"RU", "{BE}", "RU", "RU", "-", "-"}},
    {0xBF, {"ME", "{BF}", "ME", "ME", "-", "-"}},
    {0xC0, {"D", "{C0}", "D", "D", "2 +Sh", "{C0}"}},
    {0xDB, {"H", "{DB}", "H", "H", "-", "-"}},
    {0xDC, {"{BD}", "{DC}", "{BD}", "{BD}", "-", "-"}},
    {0xDD, {"MU", "{DD}", "MU", "MU", "-", "-"}},
    {0xDE, {"KE", "{DE}", "GE", "KE", "{BA} +Sh", "8 +Sh"}},
    {0xE2, {"RO", "-", "RO", "RO", "{BD} +Sh", "{BD} +Sh"}},
};

TEST(KanaTableTest, RowTableCoversTheFortyEightKeysInRowOrder) {
  for (int vk = 0; vk < 256; ++vk) {
    int expected = kNotKanaKey;
    if (vk >= 0x30 && vk <= 0x39) expected = vk - 0x30;
    if (vk >= 0x41 && vk <= 0x5A) expected = 10 + vk - 0x41;
    if (vk >= 0xBA && vk <= 0xC0) expected = 36 + vk - 0xBA;
    if (vk >= 0xDB && vk <= 0xDE) expected = 43 + vk - 0xDB;
    if (vk == 0xE2) expected = 47;
    EXPECT_EQ(kanaRowOf(static_cast<uint8_t>(vk)), expected) << std::hex << vk;
  }
  EXPECT_EQ(kanaRowOf(kVkDakuten), 42);
  EXPECT_EQ(kanaRowOf(kVkHandakuten), 43);
}

TEST(KanaTableTest, PlainColumnSequencesRowByRow) {
  for (int row = 0; row < kKanaRowCount; ++row) {
    EXPECT_EQ(kanaRowKey(row), kExpected[row].vk) << row;
    EXPECT_EQ(cellText(row, kKanaPlain), kExpected[row].cells[kKanaPlain]) << "row " << row;
  }
}

TEST(KanaTableTest, EveryCellRowByRow) {
  for (int row = 0; row < kKanaRowCount; ++row) {
    for (int column = 0; column < kKanaColumnCount; ++column) {
      EXPECT_EQ(cellText(row, column), kExpected[row].cells[column])
          << "row " << row << " column " << column;
    }
  }
}

TEST(KanaTableTest, ColumnCounts) {
  int filled[kKanaColumnCount] = {};
  for (int row = 0; row < kKanaRowCount; ++row) {
    for (int column = 0; column < kKanaColumnCount; ++column) {
      if (kanaCell(row, column) != nullptr) ++filled[column];
    }
  }
  EXPECT_EQ(filled[kKanaPlain], 48);
  EXPECT_EQ(filled[kKanaShifted], 48 - 25);
  EXPECT_EQ(filled[kKanaVoiced], 48);
  EXPECT_EQ(filled[kKanaSemiVoiced], 48);
  EXPECT_EQ(filled[kKanaDirectRemap], 4);
  EXPECT_EQ(filled[kKanaDirectShiftRemap], 11);
}

TEST(KanaTableTest, CellsAreWellFormed) {
  for (int row = 0; row < kKanaRowCount; ++row) {
    for (int column = 0; column < kKanaDirectRemap; ++column) {
      const uint8_t* cell = kanaCell(row, column);
      if (cell == nullptr) continue;
      EXPECT_NE(cell[0], 0) << row << "/" << column;  // never an empty sequence
      bool shiftHeld = false;
      for (const uint8_t* p = cell; *p != 0; ++p) {
        if (*p == kSequenceShiftDown) {
          EXPECT_FALSE(shiftHeld) << row << "/" << column;
          shiftHeld = true;
        } else if (*p == kSequenceShiftUp) {
          EXPECT_TRUE(shiftHeld) << row << "/" << column;
          shiftHeld = false;
        }
      }
      EXPECT_FALSE(shiftHeld) << "Shift left down in " << row << "/" << column;
    }
    for (int column = kKanaDirectRemap; column < kKanaColumnCount; ++column) {
      const uint8_t* cell = kanaCell(row, column);
      if (cell == nullptr) continue;
      EXPECT_NE(cell[0], 0);
      if (cell[1] != 0) {
        EXPECT_EQ(cell[1], 1) << row << "/" << column;
        EXPECT_EQ(cell[2], 0) << row << "/" << column;
      }
    }
  }
}

TEST(KanaTableTest, OutOfRangeCellsAreEmpty) {
  EXPECT_EQ(kanaCell(-1, 0), nullptr);
  EXPECT_EQ(kanaCell(48, 0), nullptr);
  EXPECT_EQ(kanaCell(0, 6), nullptr);
  EXPECT_EQ(kanaCell(0, -1), nullptr);
  EXPECT_EQ(kanaRowKey(48), 0);
}

}  // namespace
