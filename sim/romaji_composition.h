// A composition as a Japanese IME in roman input mode builds it: letters
// become kana once they spell a syllable of the roman table; what cannot
// become kana shows in full width.
#pragma once

#include <string>
#include <vector>

struct ComposedCharacter {
  std::string text;  // one character (UTF-8)
  // A digit or a roman letter left as it is: a . , or - right after it
  // stays an ASCII symbol in full width (１．５), as the IME does.
  bool alphanumeric = false;
};

struct RomajiComposition {
  std::vector<ComposedCharacter> characters;
  std::string pending;  // lower-case letters that may still become kana
};

// One printable ASCII character typed into the composition. A capital letter
// settles the pending letters and goes in as it is, in full width.
void typeIntoComposition(RomajiComposition& composition, char c);

// The back-space key: the last pending letter, else the last character.
void eraseFromComposition(RomajiComposition& composition);

// What the user sees: the characters, then the pending letters in full width.
std::string compositionText(const RomajiComposition& composition);

// Number of characters shown.
size_t compositionLength(const RomajiComposition& composition);

// Splits UTF-8 text into its characters.
std::vector<std::string> splitUtf8(const std::string& text);
