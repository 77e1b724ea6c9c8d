// A composition as a Japanese IME in roman input mode builds it: letters
// become kana once they spell a syllable of the roman table; what cannot
// become kana shows in full width.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// What a composed character is to the symbols typed after it.
enum class ComposedKind : uint8_t {
  kKana,         // kana, or a symbol of the roman table
  kDigit,        // a digit
  kLetter,       // a roman letter left as it is
  kAsciiMinus,   // a - kept as the ASCII minus (after a digit or letter)
  kOtherSymbol,  // any other character as it is
};

struct ComposedCharacter {
  std::string text;  // one character (UTF-8)
  ComposedKind kind = ComposedKind::kKana;
  // On the last of letters that never became kana: those letters. They
  // spell on once a back-space makes them the last again (ky, 1, back-space,
  // a is きゃ), as the IME keeps them.
  std::string letters;
};

struct RomajiComposition {
  std::vector<ComposedCharacter> characters;
  std::string pending;  // lower-case letters that may still become kana
};

// One printable ASCII character typed into the composition. A capital letter
// settles the pending letters and goes in as it is, in full width.
void typeIntoComposition(RomajiComposition& composition, char c);

// The back-space key: the last pending letter, else the last character;
// letters left as they were before it may then spell on.
void eraseFromComposition(RomajiComposition& composition);

// What the user sees: the characters, then the pending letters in full width.
// A prolonged sound mark that begins the composition shows as a minus when a
// digit follows it (−５), as the IME shows it.
std::string compositionText(const RomajiComposition& composition);

// Number of characters shown.
size_t compositionLength(const RomajiComposition& composition);

// Splits UTF-8 text into its characters.
std::vector<std::string> splitUtf8(const std::string& text);
