// The keymap compiler's own working data and steps, shared by its files
// (keymap/*.cpp) and by the tests of single steps. Everyone else loads
// through keymap_compiler.h. All working data of one load lives in one
// KeymapCompiler record.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/engine_state.h"
#include "keymap/keymap_compiler.h"
#include "keymap/keymap_platform.h"
#include "keymap/keymap_text.h"

constexpr uint32_t kStringAreaSize = 16384;
constexpr uint32_t kMaxSymbols = 1024;
constexpr uint32_t kActionAreaSize = 32768;
constexpr uint32_t kMaxActions = 4096;
constexpr uint32_t kMaxCharEntries = 255;  // the entry count is one byte
constexpr uint32_t kMaxRawBytes = 255;     // the byte count is one byte
constexpr int32_t kKeysPerKeymap = kKeypadColumns;

// Block flags: what is open while the text is read.
enum KeymapBlockFlags : uint32_t {
  kKeymapOpen = 1,
  kKeyOpen = 2,
  kCharListOpen = 4,
};

constexpr int32_t kNoName = -1;

struct KeymapSymbol {
  int32_t name = kNoName;  // offset of the name in the string area
  int32_t value = 0;
  uint32_t nameLength = 0;
};

// Open-addressing index over the symbol names (twice the symbol limit, so it
// never fills): entry = symbol number + 1, 0 = empty. Only the first symbol
// of each name is indexed, which keeps first-definition-wins while lookups
// stay independent of the symbol count.
constexpr uint32_t kSymbolIndexSize = 2 * kMaxSymbols;

struct KeymapCompiler {
  KeymapPlatform* platform = nullptr;
  EngineState* engine = nullptr;

  char strings[kStringAreaSize] = {};
  uint32_t stringsUsed = 0;
  KeymapSymbol symbols[kMaxSymbols] = {};
  uint32_t symbolCount = 0;
  uint16_t symbolIndex[kSymbolIndexSize] = {};

  // The whole text, NUL-terminated; owned by the load.
  uint8_t* text = nullptr;
  uint32_t textSize = 0;
  uint8_t line[kKeymapLineMax + 1] = {};
  int32_t lineNumber = 0;
  bool errorFlag = false;
  uint32_t blockFlags = 0;

  uint8_t actionArea[kActionAreaSize] = {};
  uint32_t actionAreaUsed = 0;
  uint32_t actionTable[kMaxActions] = {};
  uint32_t actionTableUsed = 0;
  uint32_t openCharList = 0;  // offset of the open char list's record
  int32_t entryCount = 0;
  int32_t keyActionCount = 0;
  int32_t completeKeys = 0;
  // While compiling, a key's `actions` holds an action-table index.
  KeyRecord keys[kKeysPerKeymap] = {};
  int32_t keymapNumber = 0;

  // Set when the open keymap lost a record or bytes to a full buffer; such a
  // keymap is never installed.
  bool keymapDamaged = false;
  // Set when memory ran out; the load then leaves every slot empty.
  bool outOfMemory = false;

  // While a statement line is compiled, only its first error is shown.
  bool inStatement = false;
  bool statementReported = false;

  // For diagnostics: the editor line of the line being processed, of the open
  // key's "key" line and of the open keymap's "keymap" line.
  int32_t editorLine = 0;
  int32_t keyLine = 0;
  int32_t keymapLine = 0;
  bool sawKeymapLine = false;
  int32_t longLineNoted = 0;
};

// Reads the file into compiler.text; false (after reporting) when it fails.
bool readKeymapText(KeymapCompiler& compiler, const std::string& pathUtf8,
                    KeymapTextAllocator allocate);

// The line loop over compiler.text, then the final closeKeymap.
void compileKeymapText(KeymapCompiler& compiler, EngineState& engine);

// Evaluates the token at `pos` and moves `pos` past it.
int32_t parseToken(KeymapCompiler& compiler, const uint8_t*& pos);
// The first symbol of that exact name, or nullptr.
const KeymapSymbol* findSymbol(const KeymapCompiler& compiler, const KeymapToken& name);
void defineSymbol(KeymapCompiler& compiler, const KeymapToken& name, int32_t value);
// Copies the name with a NUL into the string area; its offset, or kNoName.
int32_t storeName(KeymapCompiler& compiler, const KeymapToken& name);

// Reports one message ("%d行:%s" once a line is being read) and sets the
// error flag. The platform shows it unless the statement being compiled has
// shown one already; it is noted as a diagnostic of `kind` either way, with
// `startLine` for the key-count messages.
void reportKeymapMessage(KeymapCompiler& compiler, const std::string& messageUtf8,
                         KeymapDiagnosticKind kind, int32_t startLine = 0);
void reportKeymapError(KeymapCompiler& compiler, const char* messageUtf8);
void reportKeymapError(KeymapCompiler& compiler, const std::string& messageUtf8);
// Notes a warning on the line being processed; the program shows nothing.
void noteKeymapWarning(KeymapCompiler& compiler, KeymapDiagnosticKind kind,
                       const KeymapToken& token = {}, uint32_t value = 0);

void closeCharList(KeymapCompiler& compiler);
void closeKey(KeymapCompiler& compiler);
void closeKeymap(KeymapCompiler& compiler);

// Builds the open keymap's image in one block and installs it in its slot.
void buildAndInstallKeymap(KeymapCompiler& compiler);
