#include "engine/kana_table.h"

#include <array>

namespace {

struct KanaRow {
  uint8_t vk;
  const char* cells[kKanaColumnCount];
};

// Sequence notation: letters and digits are the keys of the same name;
// SHIFTED(...) holds Shift around the keys between. In the remap columns
// PLUS_SHIFT marks a replacement typed with Shift.
#define SHIFTED(keys) "\xF1" keys "\xF0"
#define PLUS_SHIFT "\x01"

// う with ゛ is ゔ on the kana layout, and a desktop IME composes it from
// "vu"; a device keeps the plain う there.
#ifdef _WIN32_WCE
#define VOICED_U "U"
#else
#define VOICED_U "VU"
#endif

// clang-format off
constexpr KanaRow kKanaTable[kKanaRowCount] = {
    // VK   kana      plain     shifted           voiced    semi      direct              direct+Shift
    {0x30, /* わ */ {"WA",     "WO",             "WA",     "WA",     nullptr,            nullptr}},
    {0x31, /* ぬ */ {"NU",     SHIFTED("1"),     "NU",     "NU",     nullptr,            nullptr}},
    {0x32, /* ふ */ {"FU",     SHIFTED("\xDE"),  "BU",     "PU",     nullptr,            "\xDE" PLUS_SHIFT}},
    {0x33, /* あ */ {"A",      "XA",             "A",      "A",      nullptr,            nullptr}},
    {0x34, /* う */ {"U",      "XU",             VOICED_U, "U",      nullptr,            nullptr}},
    {0x35, /* え */ {"E",      "XE",             "E",      "E",      nullptr,            nullptr}},
    {0x36, /* お */ {"O",      "XO",             "O",      "O",      nullptr,            "7" PLUS_SHIFT}},
    {0x37, /* や */ {"YA",     "XYA",            "YA",     "YA",     nullptr,            "\xDE"}},
    {0x38, /* ゆ */ {"YU",     "XYU",            "YU",     "YU",     nullptr,            "9" PLUS_SHIFT}},
    {0x39, /* よ */ {"YO",     "XYO",            "YO",     "YO",     nullptr,            "0" PLUS_SHIFT}},
    {0x41, /* ち */ {"TI",     nullptr,          "DI",     "TI",     nullptr,            nullptr}},
    {0x42, /* こ */ {"KO",     nullptr,          "GO",     "KO",     nullptr,            nullptr}},
    {0x43, /* そ */ {"SO",     nullptr,          "ZO",     "SO",     nullptr,            nullptr}},
    {0x44, /* し */ {"SI",     nullptr,          "ZI",     "SI",     nullptr,            nullptr}},
    {0x45, /* い */ {"I",      "XI",             "I",      "I",      nullptr,            nullptr}},
    {0x46, /* は */ {"HA",     nullptr,          "BA",     "PA",     nullptr,            nullptr}},
    {0x47, /* き */ {"KI",     nullptr,          "GI",     "KI",     nullptr,            nullptr}},
    {0x48, /* く */ {"KU",     nullptr,          "GU",     "KU",     nullptr,            nullptr}},
    {0x49, /* に */ {"NI",     nullptr,          "NI",     "NI",     nullptr,            nullptr}},
    {0x4A, /* ま */ {"MA",     nullptr,          "MA",     "MA",     nullptr,            nullptr}},
    {0x4B, /* の */ {"NO",     nullptr,          "NO",     "NO",     nullptr,            nullptr}},
    {0x4C, /* り */ {"RI",     nullptr,          "RI",     "RI",     nullptr,            nullptr}},
    {0x4D, /* も */ {"MO",     nullptr,          "MO",     "MO",     nullptr,            nullptr}},
    {0x4E, /* み */ {"MI",     nullptr,          "MI",     "MI",     nullptr,            nullptr}},
    {0x4F, /* ら */ {"RA",     nullptr,          "RA",     "RA",     nullptr,            nullptr}},
    {0x50, /* せ */ {"SE",     nullptr,          "ZE",     "SE",     nullptr,            nullptr}},
    {0x51, /* た */ {"TA",     nullptr,          "DA",     "TA",     nullptr,            nullptr}},
    {0x52, /* す */ {"SU",     nullptr,          "ZU",     "SU",     nullptr,            nullptr}},
    {0x53, /* と */ {"TO",     nullptr,          "DO",     "TO",     nullptr,            nullptr}},
    {0x54, /* か */ {"KA",     nullptr,          "GA",     "KA",     nullptr,            nullptr}},
    {0x55, /* な */ {"NA",     nullptr,          "NA",     "NA",     nullptr,            nullptr}},
    {0x56, /* ひ */ {"HI",     nullptr,          "BI",     "PI",     nullptr,            nullptr}},
    {0x57, /* て */ {"TE",     nullptr,          "DE",     "TE",     nullptr,            nullptr}},
    {0x58, /* さ */ {"SA",     nullptr,          "ZA",     "SA",     nullptr,            nullptr}},
    {0x59, /* ん */ {"NN",     nullptr,          "NN",     "NN",     nullptr,            nullptr}},
    {0x5A, /* つ */ {"TU",     "XTU",            "DU",     "TU",     nullptr,            nullptr}},
    {0xBA, /* れ */ {"RE",     SHIFTED("\xBB"),  "RE",     "RE",     nullptr,            "\xBB" PLUS_SHIFT}},
    {0xBB, /* へ */ {"HE",     SHIFTED("\xC0"),  "BE",     "PE",     "6" PLUS_SHIFT,     "\xC0" PLUS_SHIFT}},
    {0xBC, /* ね */ {"NE",     "\xBC",           "NE",     "NE",     nullptr,            nullptr}},
    {0xBD, /* ほ */ {"HO",     "\xBB",           "BO",     "PO",     nullptr,            "\xBB"}},
    {0xBE, /* る */ {"RU",     "\xBE",           "RU",     "RU",     nullptr,            nullptr}},
    {0xBF, /* め */ {"ME",     "\xBF",           "ME",     "ME",     nullptr,            nullptr}},
    {0xC0, /* ゛ */ {"D",      "\xC0",           "D",      "D",      "2" PLUS_SHIFT,     "\xC0"}},
    {0xDB, /* ゜ */ {"H",      "\xDB",           "H",      "H",      nullptr,            nullptr}},
    {0xDC, /* ー */ {"\xBD",   "\xDC",           "\xBD",   "\xBD",   nullptr,            nullptr}},
    {0xDD, /* む */ {"MU",     "\xDD",           "MU",     "MU",     nullptr,            nullptr}},
    {0xDE, /* け */ {"KE",     "\xDE",           "GE",     "KE",     "\xBA" PLUS_SHIFT,  "8" PLUS_SHIFT}},
    {0xE2, /* ろ */ {"RO",     nullptr,          "RO",     "RO",     "\xBD" PLUS_SHIFT,  "\xBD" PLUS_SHIFT}},
};
// clang-format on

#undef SHIFTED
#undef PLUS_SHIFT

// Virtual key -> row, derived from the rows' keys so the two cannot disagree.
constexpr std::array<uint8_t, 256> buildRowTable() {
  std::array<uint8_t, 256> rows{};
  for (uint8_t& row : rows) row = kNotKanaKey;
  for (int row = 0; row < kKanaRowCount; ++row) {
    rows[kKanaTable[row].vk] = static_cast<uint8_t>(row);
  }
  return rows;
}

constexpr std::array<uint8_t, 256> kKanaRowOfVk = buildRowTable();

}  // namespace

uint8_t kanaRowOf(uint8_t vk) {
  return kKanaRowOfVk[vk];
}

uint8_t kanaRowKey(int row) {
  if (row < 0 || row >= kKanaRowCount) return 0;
  return kKanaTable[row].vk;
}

const uint8_t* kanaCell(int row, int column) {
  if (row < 0 || row >= kKanaRowCount || column < 0 || column >= kKanaColumnCount) return nullptr;
  return reinterpret_cast<const uint8_t*>(kKanaTable[row].cells[column]);
}
