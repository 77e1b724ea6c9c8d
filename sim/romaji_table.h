// Roman-letter input as a Japanese IME composes it: letters typed one by one
// turn into hiragana once they spell a syllable of the roman table.
#pragma once

#include <string>
#include <vector>

// Hiragana (UTF-8) for a complete lower-case roman spelling, or nullptr when
// the spelling is not in the table.
const char* romajiToKana(const std::string& romaji);

// True when some spelling of the table begins with `prefix` (and is longer).
bool isRomajiPrefix(const std::string& prefix);

// Feeds the pending lower-case letters (the last one just typed) through the
// table: every finished syllable is appended to `out` (one UTF-8 character
// per element) and removed from `pending`; what may still grow into a
// syllable stays pending. A doubled consonant gives っ, n before a consonant
// gives ん, and a letter that can start nothing is kept as that letter.
void composeRomaji(std::string& pending, std::vector<std::string>& out);

// Ends the pending letters when something other than a letter follows: a
// lone n becomes ん, any other letters stay as they are.
void flushRomaji(std::string& pending, std::vector<std::string>& out);

// Splits UTF-8 text into its characters.
std::vector<std::string> splitUtf8(const std::string& text);
