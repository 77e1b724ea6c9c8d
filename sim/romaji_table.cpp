#include "sim/romaji_table.h"

#include <cstring>

namespace {

struct RomajiEntry {
  const char* romaji;
  const char* kana;
};

// The usual table of Japanese IMEs in roman input mode (Hepburn and kunrei
// spellings, x/l for small kana).
constexpr RomajiEntry kRomajiTable[] = {
    {"a", "あ"},     {"i", "い"},     {"u", "う"},     {"e", "え"},     {"o", "お"},
    {"ka", "か"},    {"ki", "き"},    {"ku", "く"},    {"ke", "け"},    {"ko", "こ"},
    {"ga", "が"},    {"gi", "ぎ"},    {"gu", "ぐ"},    {"ge", "げ"},    {"go", "ご"},
    {"sa", "さ"},    {"si", "し"},    {"shi", "し"},   {"su", "す"},    {"se", "せ"},
    {"so", "そ"},    {"za", "ざ"},    {"zi", "じ"},    {"ji", "じ"},    {"zu", "ず"},
    {"ze", "ぜ"},    {"zo", "ぞ"},    {"ta", "た"},    {"ti", "ち"},    {"chi", "ち"},
    {"tu", "つ"},    {"tsu", "つ"},   {"te", "て"},    {"to", "と"},    {"da", "だ"},
    {"di", "ぢ"},    {"du", "づ"},    {"de", "で"},    {"do", "ど"},    {"na", "な"},
    {"ni", "に"},    {"nu", "ぬ"},    {"ne", "ね"},    {"no", "の"},    {"nn", "ん"},
    {"ha", "は"},    {"hi", "ひ"},    {"hu", "ふ"},    {"fu", "ふ"},    {"he", "へ"},
    {"ho", "ほ"},    {"ba", "ば"},    {"bi", "び"},    {"bu", "ぶ"},    {"be", "べ"},
    {"bo", "ぼ"},    {"pa", "ぱ"},    {"pi", "ぴ"},    {"pu", "ぷ"},    {"pe", "ぺ"},
    {"po", "ぽ"},    {"ma", "ま"},    {"mi", "み"},    {"mu", "む"},    {"me", "め"},
    {"mo", "も"},    {"ya", "や"},    {"yu", "ゆ"},    {"yo", "よ"},    {"ra", "ら"},
    {"ri", "り"},    {"ru", "る"},    {"re", "れ"},    {"ro", "ろ"},    {"wa", "わ"},
    {"wi", "うぃ"},  {"we", "うぇ"},  {"wo", "を"},    {"vu", "ゔ"},    {"fa", "ふぁ"},
    {"fi", "ふぃ"},  {"fe", "ふぇ"},  {"fo", "ふぉ"},  {"ja", "じゃ"},  {"ju", "じゅ"},
    {"je", "じぇ"},  {"jo", "じょ"},  {"kya", "きゃ"}, {"kyu", "きゅ"}, {"kyo", "きょ"},
    {"gya", "ぎゃ"}, {"gyu", "ぎゅ"}, {"gyo", "ぎょ"}, {"sya", "しゃ"}, {"syu", "しゅ"},
    {"syo", "しょ"}, {"sha", "しゃ"}, {"shu", "しゅ"}, {"sho", "しょ"}, {"zya", "じゃ"},
    {"zyu", "じゅ"}, {"zyo", "じょ"}, {"tya", "ちゃ"}, {"tyu", "ちゅ"}, {"tyo", "ちょ"},
    {"cha", "ちゃ"}, {"chu", "ちゅ"}, {"cho", "ちょ"}, {"dya", "ぢゃ"}, {"dyu", "ぢゅ"},
    {"dyo", "ぢょ"}, {"nya", "にゃ"}, {"nyu", "にゅ"}, {"nyo", "にょ"}, {"hya", "ひゃ"},
    {"hyu", "ひゅ"}, {"hyo", "ひょ"}, {"bya", "びゃ"}, {"byu", "びゅ"}, {"byo", "びょ"},
    {"pya", "ぴゃ"}, {"pyu", "ぴゅ"}, {"pyo", "ぴょ"}, {"mya", "みゃ"}, {"myu", "みゅ"},
    {"myo", "みょ"}, {"rya", "りゃ"}, {"ryu", "りゅ"}, {"ryo", "りょ"}, {"thi", "てぃ"},
    {"dhi", "でぃ"}, {"xa", "ぁ"},    {"xi", "ぃ"},    {"xu", "ぅ"},    {"xe", "ぇ"},
    {"xo", "ぉ"},    {"la", "ぁ"},    {"li", "ぃ"},    {"lu", "ぅ"},    {"le", "ぇ"},
    {"lo", "ぉ"},    {"xya", "ゃ"},   {"xyu", "ゅ"},   {"xyo", "ょ"},   {"lya", "ゃ"},
    {"lyu", "ゅ"},   {"lyo", "ょ"},   {"xtu", "っ"},   {"xtsu", "っ"},  {"ltu", "っ"},
    {"ltsu", "っ"},  {"xwa", "ゎ"},   {"lwa", "ゎ"},   {"xka", "ゕ"},   {"xke", "ゖ"},
};

bool isVowel(char c) {
  return std::strchr("aiueo", c) != nullptr;
}

void appendCharacters(const char* text, std::vector<std::string>& out) {
  for (const std::string& c : splitUtf8(text)) out.push_back(c);
}

}  // namespace

const char* romajiToKana(const std::string& romaji) {
  for (const RomajiEntry& entry : kRomajiTable) {
    if (romaji == entry.romaji) return entry.kana;
  }
  return nullptr;
}

bool isRomajiPrefix(const std::string& prefix) {
  for (const RomajiEntry& entry : kRomajiTable) {
    const size_t length = std::strlen(entry.romaji);
    if (length > prefix.size() && std::strncmp(entry.romaji, prefix.data(), prefix.size()) == 0) {
      return true;
    }
  }
  return false;
}

void composeRomaji(std::string& pending, std::vector<std::string>& out) {
  while (!pending.empty()) {
    if (const char* kana = romajiToKana(pending)) {
      appendCharacters(kana, out);
      pending.clear();
      return;
    }
    if (isRomajiPrefix(pending)) return;
    // Nothing can grow out of these letters: settle the first one.
    const char first = pending[0];
    if (pending.size() >= 2 && pending[1] == first && !isVowel(first) && first != 'n') {
      out.push_back("っ");
    } else if (first == 'n' && pending.size() >= 2) {
      out.push_back("ん");
    } else {
      out.push_back(std::string(1, first));
    }
    pending.erase(0, 1);
  }
}

void flushRomaji(std::string& pending, std::vector<std::string>& out) {
  if (pending == "n") {
    out.push_back("ん");
  } else {
    for (char c : pending) out.push_back(std::string(1, c));
  }
  pending.clear();
}

std::vector<std::string> splitUtf8(const std::string& text) {
  std::vector<std::string> characters;
  size_t i = 0;
  while (i < text.size()) {
    const unsigned char lead = static_cast<unsigned char>(text[i]);
    size_t length = 1;
    if (lead >= 0xF0) {
      length = 4;
    } else if (lead >= 0xE0) {
      length = 3;
    } else if (lead >= 0xC0) {
      length = 2;
    }
    if (i + length > text.size()) length = text.size() - i;
    characters.push_back(text.substr(i, length));
    i += length;
  }
  return characters;
}
