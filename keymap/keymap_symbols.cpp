// Symbols and token values.
//
// Tokens and defcode names are taken at their full length (a line holds at
// most 838 bytes): there is no fixed-size copy of them to overrun, and a long
// name is never cut short into another, shorter name. A long token is a
// symbol only if a symbol of exactly that name exists, a hex literal however
// many digits it has (only the last eight count), and otherwise
// "symbolが見つかりません" like any other unknown word.
#include <cstring>

#include "keymap/keymap_compiler_internal.h"
#include "keymap/keymap_messages.h"

namespace {

uint32_t nameHash(const uint8_t* bytes, size_t length) {
  uint32_t hash = 2166136261u;  // FNV-1a
  for (size_t i = 0; i < length; ++i) hash = (hash ^ bytes[i]) * 16777619u;
  return hash;
}

bool nameEquals(const KeymapCompiler& compiler, const KeymapSymbol& symbol,
                const KeymapToken& name) {
  return symbol.name != kNoName && symbol.nameLength == name.length &&
         std::memcmp(compiler.strings + symbol.name, name.bytes, name.length) == 0;
}

// The index slot holding `name`, or the empty slot where it would go.
uint32_t indexSlot(const KeymapCompiler& compiler, const KeymapToken& name) {
  uint32_t slot = nameHash(name.bytes, name.length) % kSymbolIndexSize;
  while (compiler.symbolIndex[slot] != 0 &&
         !nameEquals(compiler, compiler.symbols[compiler.symbolIndex[slot] - 1], name)) {
    slot = (slot + 1) % kSymbolIndexSize;
  }
  return slot;
}

}  // namespace

const KeymapSymbol* findSymbol(const KeymapCompiler& compiler, const KeymapToken& name) {
  const uint16_t entry = compiler.symbolIndex[indexSlot(compiler, name)];
  return entry == 0 ? nullptr : &compiler.symbols[entry - 1];
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
  symbol.nameLength = static_cast<uint32_t>(name.length);
  symbol.value = value;
  if (symbol.name == kNoName) return;
  // A name defined again stays with its first symbol: later ones are stored
  // but never found.
  const uint32_t slot = indexSlot(compiler, name);
  if (compiler.symbolIndex[slot] == 0) {
    compiler.symbolIndex[slot] = static_cast<uint16_t>(compiler.symbolCount);
  }
}

int32_t parseToken(KeymapCompiler& compiler, const uint8_t*& pos) {
  const KeymapToken token = nextKeymapToken(pos);
  if (token.length == 0 || token.bytes[0] == '#') return 0;
  if (const KeymapSymbol* symbol = findSymbol(compiler, token)) return symbol->value;
  if (isHexLiteral(token)) {
    const uint32_t value = hexLiteralValue(token);
    if (!hexLiteralIsClean(token)) {
      noteKeymapWarning(compiler, KeymapDiagnosticKind::kHexDigits, token, value);
    }
    return static_cast<int32_t>(value);
  }
  if (token.length == 1) return token.bytes[0];
  reportKeymapError(compiler, keymap_messages::kSymbolNotFound);
  return 0;
}
