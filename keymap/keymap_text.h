// The lexical side of keymap files: splitting the text into lines, the
// statement keywords, token boundaries and hexadecimal literals. Pure
// functions over bytes; no compiler state.
#pragma once

#include <cstddef>
#include <cstdint>

// Longest line, counted after its leading blanks; longer lines continue on
// the next line number.
constexpr uint32_t kKeymapLineMax = 838;

inline bool isKeymapBlank(uint8_t byte) {
  return byte == ' ' || byte == '\t';
}

// Takes the next line from a NUL-terminated text starting at `pos`: skips
// leading blanks, copies at most kKeymapLineMax bytes up to a CR, LF or NUL
// into `line` (which needs kKeymapLineMax + 1 bytes and is NUL-terminated),
// then skips one CR and after it one LF. `cut` tells whether it stopped at
// the limit with more of the same line to come. Returns false, taking
// nothing, when the text is done (the byte at `pos` is NUL).
bool takeKeymapLine(const uint8_t* text, size_t& pos, uint8_t* line, bool& cut);

// Statement keywords, in the order in which they are tried.
enum class KeymapKeyword {
  kChar,
  kAttach,
  kNop,
  kCommand,
  kRaw,
  kExec,
  kKeymap,
  kKey,
  kDefcode,
  kVkmapl,
  kVkmap,
  kNone,
};

// Recognises the keyword that prefixes a NUL-terminated line, ignoring ASCII
// case; `operands` is set to the byte after the keyword's last letter.
KeymapKeyword matchKeymapKeyword(const uint8_t* line, const uint8_t*& operands);

// A token: the bytes from the first non-blank up to the next blank or the end
// of the line.
struct KeymapToken {
  const uint8_t* bytes = nullptr;
  size_t length = 0;
};

// Skips blanks, returns the token there and moves `pos` past it.
KeymapToken nextKeymapToken(const uint8_t*& pos);

// True when the token begins with the three bytes ' \ x of a hex literal.
bool isHexLiteral(const KeymapToken& token);

// Value of a hex literal token: the digits after the x, up to the first byte
// outside '0'..'f' or the token's end, kept to 32 bits.
uint32_t hexLiteralValue(const KeymapToken& token);

// True when a hex literal holds nothing but hex digits after the x, with at
// most a closing apostrophe as its last byte; any other byte makes it read as
// some other value without an error.
bool hexLiteralIsClean(const KeymapToken& token);

// The two strings of an exec statement: a quoted program path and a quoted
// argument string, each empty when absent. The spans point into the line.
struct ExecStrings {
  KeymapToken path;
  KeymapToken arguments;
  // False when text other than a comment lies outside the quotes (it is
  // dropped) or a quote is left open.
  bool quoted = true;
};
ExecStrings readExecStrings(const uint8_t* pos);
