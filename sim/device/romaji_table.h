// The roman table of a Japanese IME in roman input mode: which letters (and
// a few symbols) spell which kana.
#pragma once

#include <string>

struct RomajiEntry {
  const char* spelling;  // what the user types, lower case
  const char* kana;      // what it becomes (UTF-8)
  const char* pending;   // what stays to be continued ("kk" is っ, then k)
};

// The entry spelled exactly `spelling`, or nullptr.
const RomajiEntry* findRomajiEntry(const std::string& spelling);

// True when some longer spelling of the table begins with `prefix`.
bool isRomajiPrefix(const std::string& prefix);
