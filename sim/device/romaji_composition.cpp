#include "sim/device/romaji_composition.h"

#include "sim/device/device_keyboard.h"
#include "sim/device/romaji_table.h"

namespace {

bool isLowerLetter(char c) {
  return c >= 'a' && c <= 'z';
}

ComposedKind kindOf(char c) {
  if (c >= '0' && c <= '9') return ComposedKind::kDigit;
  if (isLowerLetter(c) || (c >= 'A' && c <= 'Z')) return ComposedKind::kLetter;
  if (c == '-') return ComposedKind::kAsciiMinus;
  return ComposedKind::kOtherSymbol;
}

// The full-width form of an ASCII character, without the Japanese
// punctuation that the IME gives . , and - on their own.
std::string plainFullWidth(char c) {
  switch (c) {
    case '.':
      return "．";
    case ',':
      return "，";
    case '-':
      return "−";
    default:
      return imeFullWidthForm(c);
  }
}

void appendUnconverted(RomajiComposition& composition, char c) {
  composition.characters.push_back({plainFullWidth(c), kindOf(c), ""});
}

// Kana of a table entry; an ASCII letter in it stays a letter.
void appendKana(RomajiComposition& composition, const std::string& kana) {
  for (const std::string& character : splitUtf8(kana)) {
    if (character.size() == 1) {
      appendUnconverted(composition, character[0]);
    } else {
      composition.characters.push_back({character, ComposedKind::kKana, ""});
    }
  }
}

// Ends the pending letters: a spelling of the table becomes its kana (a lone
// n is ん here), anything else stays letters.
void settlePending(RomajiComposition& composition) {
  if (const RomajiEntry* entry = findRomajiEntry(composition.pending)) {
    appendKana(composition, entry->kana);
    composition.pending = entry->pending;
    return;
  }
  for (char c : composition.pending) appendUnconverted(composition, c);
  composition.characters.back().letters = composition.pending;
  composition.pending.clear();
}

// Letters left as they were become pending again once they end the
// composition.
void reviveLetters(RomajiComposition& composition) {
  std::vector<ComposedCharacter>& characters = composition.characters;
  if (!composition.pending.empty() || characters.empty()) return;
  const std::string letters = characters.back().letters;
  if (letters.empty() || letters.size() > characters.size()) return;
  characters.resize(characters.size() - letters.size());
  composition.pending = letters;
}

// After a digit or a letter left as it is, . , and - stay ASCII symbols in
// full width (１．５, ｋ，), and so does a run of - after them (１−−).
bool staysAscii(const RomajiComposition& composition, char c) {
  if (!composition.pending.empty() || composition.characters.empty()) return false;
  const ComposedKind last = composition.characters.back().kind;
  const bool afterAlphanumeric = last == ComposedKind::kDigit || last == ComposedKind::kLetter;
  if (c == '.' || c == ',') return afterAlphanumeric;
  return c == '-' && (afterAlphanumeric || last == ComposedKind::kAsciiMinus);
}

}  // namespace

void typeIntoComposition(RomajiComposition& composition, char c) {
  if (c >= 'A' && c <= 'Z') {
    while (!composition.pending.empty()) settlePending(composition);
    appendUnconverted(composition, c);
    return;
  }
  for (;;) {
    if (staysAscii(composition, c)) {
      appendUnconverted(composition, c);
      return;
    }
    const std::string spelling = composition.pending + c;
    if (isRomajiPrefix(spelling)) {
      composition.pending = spelling;
      return;
    }
    if (const RomajiEntry* entry = findRomajiEntry(spelling)) {
      appendKana(composition, entry->kana);
      composition.pending = entry->pending;
      return;
    }
    if (composition.pending.empty()) {
      // Not part of any spelling: the character itself.
      composition.characters.push_back({imeFullWidthForm(c), kindOf(c), ""});
      return;
    }
    // The pending letters cannot take c: settle them and try c again.
    settlePending(composition);
  }
}

void eraseFromComposition(RomajiComposition& composition) {
  if (!composition.pending.empty()) {
    composition.pending.pop_back();
  } else if (!composition.characters.empty()) {
    composition.characters.pop_back();
  }
  reviveLetters(composition);
}

std::string compositionText(const RomajiComposition& composition) {
  const std::vector<ComposedCharacter>& characters = composition.characters;
  std::string text;
  for (size_t i = 0; i < characters.size(); ++i) {
    const bool leadingMinus = i == 0 && characters.size() > 1 && characters[0].text == "ー" &&
                              characters[1].kind == ComposedKind::kDigit;
    text += leadingMinus ? plainFullWidth('-') : characters[i].text;
  }
  for (char c : composition.pending) text += imeFullWidthForm(c);
  return text;
}

size_t compositionLength(const RomajiComposition& composition) {
  return composition.characters.size() + composition.pending.size();
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
