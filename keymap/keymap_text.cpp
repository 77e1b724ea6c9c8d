#include "keymap/keymap_text.h"

namespace {

constexpr const char* kKeywords[] = {"char",   "attach", "nop",     "command", "raw",  "exec",
                                     "keymap", "key",    "defcode", "vkmapl",  "vkmap"};

void skipBlanks(const uint8_t*& pos) {
  while (isKeymapBlank(*pos)) ++pos;
}

// A quoted string from just after its opening quote: the bytes up to the next
// quote or the end of the line. `closed` tells whether a quote ended it.
KeymapToken quotedString(const uint8_t*& pos, bool& closed) {
  KeymapToken text{pos, 0};
  while (*pos != 0 && *pos != '"') ++pos;
  text.length = static_cast<size_t>(pos - text.bytes);
  closed = *pos == '"';
  if (closed) ++pos;
  return text;
}

}  // namespace

bool takeKeymapLine(const uint8_t* text, size_t& pos, uint8_t* line, bool& cut) {
  if (text[pos] == 0) return false;
  while (isKeymapBlank(text[pos])) ++pos;
  uint32_t length = 0;
  while (length < kKeymapLineMax && text[pos] != '\r' && text[pos] != '\n' && text[pos] != 0) {
    line[length++] = text[pos++];
  }
  line[length] = 0;
  cut = text[pos] != '\r' && text[pos] != '\n' && text[pos] != 0;
  if (text[pos] == '\r') ++pos;
  if (text[pos] == '\n') ++pos;
  return true;
}

KeymapKeyword matchKeymapKeyword(const uint8_t* line, const uint8_t*& operands) {
  for (size_t k = 0; k < sizeof kKeywords / sizeof kKeywords[0]; ++k) {
    const char* keyword = kKeywords[k];
    size_t i = 0;
    // The line is NUL-terminated and NUL | 0x20 matches no letter, so the
    // comparison never reads past the line.
    while (keyword[i] != 0 && (line[i] | 0x20) == static_cast<uint8_t>(keyword[i])) ++i;
    if (keyword[i] == 0) {
      operands = line + i;
      return static_cast<KeymapKeyword>(k);
    }
  }
  operands = line;
  return KeymapKeyword::kNone;
}

KeymapToken nextKeymapToken(const uint8_t*& pos) {
  skipBlanks(pos);
  KeymapToken token{pos, 0};
  while (*pos != 0 && !isKeymapBlank(*pos)) ++pos;
  token.length = static_cast<size_t>(pos - token.bytes);
  return token;
}

bool isHexLiteral(const KeymapToken& token) {
  return token.length >= 3 && token.bytes[0] == '\'' && token.bytes[1] == '\\' &&
         token.bytes[2] == 'x';
}

uint32_t hexLiteralValue(const KeymapToken& token) {
  uint32_t value = 0;
  for (size_t i = 3; i < token.length; ++i) {
    const uint8_t byte = token.bytes[i];
    if (byte < '0' || byte > 'f') break;
    // '0'-'9', 'A'-'F' and 'a'-'f' land on 0-15; the bytes between them
    // count as digits too, each with the value this arithmetic gives it.
    const uint32_t digit = static_cast<uint32_t>(byte > '9' ? byte - 7 : byte) % 16;
    value = value * 16 + digit;
  }
  return value;
}

bool hexLiteralIsClean(const KeymapToken& token) {
  for (size_t i = 3; i < token.length; ++i) {
    const uint8_t byte = token.bytes[i];
    if (byte == '\'' && i + 1 == token.length) return true;
    const bool digit = (byte >= '0' && byte <= '9') || (byte >= 'A' && byte <= 'F') ||
                       (byte >= 'a' && byte <= 'f');
    if (!digit) return false;
  }
  return true;
}

ExecStrings readExecStrings(const uint8_t* pos) {
  ExecStrings strings;
  strings.path.bytes = pos;
  strings.arguments.bytes = pos;
  skipBlanks(pos);
  if (*pos != '"') {
    strings.quoted = *pos == 0 || *pos == '#';
    return strings;
  }
  ++pos;
  bool closed = false;
  strings.path = quotedString(pos, closed);
  strings.arguments.bytes = pos;
  strings.quoted = closed;
  if (!closed) return strings;
  skipBlanks(pos);
  if (*pos != '"') {
    strings.quoted = *pos == 0 || *pos == '#';
    return strings;
  }
  ++pos;
  strings.arguments = quotedString(pos, closed);
  strings.quoted = closed;
  return strings;
}
