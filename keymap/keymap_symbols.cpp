// Symbols and token values.
//
// Tokens and defcode names are taken at their full length (a line holds at
// most 838 bytes): there is no fixed-size copy of them to overrun, and a long
// name is never cut short into another, shorter name. A long token is a
// symbol only if a symbol of exactly that name exists, a hex literal however
// many digits it has (only the last eight count), and otherwise
// "symbolが見つかりません" like any other unknown word.
#include <cstring>

#include "keymap/keymap_compiler.h"
#include "keymap/keymap_messages.h"

const KeymapSymbol* findSymbol(const KeymapCompiler& compiler, const KeymapToken& name) {
  for (uint32_t i = 0; i < compiler.symbolCount; ++i) {
    const KeymapSymbol& symbol = compiler.symbols[i];
    if (symbol.name == kNoName) continue;
    const char* stored = compiler.strings + symbol.name;
    // Stored names end with a NUL and tokens never hold one, so a stored name
    // of the same length is compared within its own bytes.
    if (std::strlen(stored) == name.length && std::memcmp(stored, name.bytes, name.length) == 0) {
      return &symbol;
    }
  }
  return nullptr;
}

int32_t storeName(KeymapCompiler& compiler, const KeymapToken& name) {
  if (name.length + 1 > kStringAreaSize - compiler.stringsUsed) {
    reportKeymapError(compiler, keymap_messages::kStringAreaFull);
    return kNoName;
  }
  const int32_t offset = static_cast<int32_t>(compiler.stringsUsed);
  std::memcpy(compiler.strings + offset, name.bytes, name.length);
  compiler.strings[offset + name.length] = 0;
  compiler.stringsUsed += static_cast<uint32_t>(name.length + 1);
  return offset;
}

void defineSymbol(KeymapCompiler& compiler, const KeymapToken& name, int32_t value) {
  if (compiler.symbolCount >= kMaxSymbols) {
    reportKeymapError(compiler, keymap_messages::kTooManySymbols);
    return;
  }
  KeymapSymbol& symbol = compiler.symbols[compiler.symbolCount++];
  symbol.name = storeName(compiler, name);
  symbol.value = value;
}

int32_t parseToken(KeymapCompiler& compiler, const uint8_t*& pos) {
  const KeymapToken token = nextKeymapToken(pos);
  if (token.length == 0 || token.bytes[0] == '#') return 0;
  if (const KeymapSymbol* symbol = findSymbol(compiler, token)) return symbol->value;
  if (isHexLiteral(token)) return static_cast<int32_t>(hexLiteralValue(token));
  if (token.length == 1) return token.bytes[0];
  reportKeymapError(compiler, keymap_messages::kSymbolNotFound);
  return 0;
}
