// The S-expressions that mozc_emacs_helper answers with, read into a tree.
// A dotted pair (a . (b c)) is the list (a b c), as in Lisp, so an entry of
// an association list is a list whose first item names it.
#pragma once

#include <string>
#include <vector>

struct Sexp {
  enum class Kind { kList, kSymbol, kString };
  Kind kind = Kind::kList;
  std::string text;         // symbol or string (unescaped)
  std::vector<Sexp> items;  // list items
};

// Reads one expression that fills the whole of `text` (blanks around it
// allowed). False for anything malformed or nested deeper than 64 lists.
bool parseSexp(const std::string& text, Sexp& out);

// The entry (key ...) among the items of `list`, or nullptr.
const Sexp* sexpEntry(const Sexp& list, const std::string& key);

// The text of the entry's first value: (key . value) gives value; "" when
// the entry is missing or its value is a list.
std::string sexpEntryText(const Sexp& list, const std::string& key);
