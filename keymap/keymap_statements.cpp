// The line loop and one handler per statement keyword.
#include "keymap/keymap_actions.h"
#include "keymap/keymap_compiler_internal.h"
#include "keymap/keymap_messages.h"

namespace {

struct CharEntry {
  uint8_t modifier = 0;
  uint8_t vk = 0;
};

// True at the end of a token list: the end of the line or a token beginning
// with "#" (the rest of the line is a comment). Skips blanks.
bool atListEnd(const uint8_t*& pos) {
  while (isKeymapBlank(*pos)) ++pos;
  return *pos == 0 || *pos == '#';
}

// An entry: the modifier is the OR of every token but the last, the virtual
// key the last token.
CharEntry readCharEntry(KeymapCompiler& compiler, const uint8_t* pos) {
  uint32_t modifier = 0;
  uint32_t last = 0;
  bool any = false;
  while (!atListEnd(pos)) {
    if (any) modifier |= last;
    last = static_cast<uint32_t>(parseToken(compiler, pos));
    any = true;
  }
  return {static_cast<uint8_t>(modifier), static_cast<uint8_t>(last)};
}

void appendCharEntry(KeymapCompiler& compiler, const CharEntry& entry) {
  if (appendActionByte(compiler, entry.modifier)) appendActionByte(compiler, entry.vk);
  ++compiler.entryCount;
}

void compileChar(KeymapCompiler& compiler, const uint8_t* pos) {
  if ((compiler.blockFlags & kKeyOpen) == 0) {
    reportKeymapError(compiler, keymap_messages::kCharMisplaced);
    return;
  }
  if (!beginAction(compiler, kActionChar)) return;
  compiler.openCharList = static_cast<uint32_t>(lastActionRecord(compiler) - compiler.actionArea);
  compiler.blockFlags |= kCharListOpen;
  compiler.entryCount = 0;
  appendCharEntry(compiler, readCharEntry(compiler, pos));
}

void compileAttach(KeymapCompiler& compiler, const uint8_t* pos) {
  if ((compiler.blockFlags & kCharListOpen) == 0) {
    reportKeymapError(compiler, keymap_messages::kAttachMisplaced);
    return;
  }
  const CharEntry entry = readCharEntry(compiler, pos);
  if (compiler.entryCount >= static_cast<int32_t>(kMaxCharEntries)) {
    reportKeymapOverflow(compiler, keymap_messages::kTooManyAttach);
    return;
  }
  appendCharEntry(compiler, entry);
}

void compileNop(KeymapCompiler& compiler) {
  if (beginAction(compiler, kActionNop)) ++compiler.keyActionCount;
}

void compileCommand(KeymapCompiler& compiler, const uint8_t* pos) {
  const bool begun = beginAction(compiler, kActionCommand);
  const int32_t number = parseToken(compiler, pos);
  const int32_t parameter = parseToken(compiler, pos);
  // The program ignores a command it does not know; a checker says so,
  // unless a bad token (reported already) made the number.
  if (!compiler.errorFlag && !isKnownKeymapCommand(static_cast<uint8_t>(number))) {
    noteKeymapWarning(compiler, KeymapDiagnosticKind::kUnknownCommand, {},
                      static_cast<uint8_t>(number));
  }
  if (!begun) return;
  if (appendActionByte(compiler, static_cast<uint8_t>(number))) {
    appendActionByte(compiler, static_cast<uint8_t>(parameter));
  }
  ++compiler.keyActionCount;
}

void compileRaw(KeymapCompiler& compiler, const uint8_t* pos) {
  // The count byte is filled in at the end.
  const bool begun = beginAction(compiler, kActionRaw) && appendActionByte(compiler, 0);
  // Before the first keymap the record is thrown away, so its length does
  // not matter; its tokens are still checked.
  const bool kept = (compiler.blockFlags & kKeymapOpen) != 0;
  uint32_t count = 0;
  while (!atListEnd(pos)) {
    const int32_t value = parseToken(compiler, pos);
    if (!begun) continue;
    if (count >= kMaxRawBytes) {
      if (!kept) continue;
      reportKeymapOverflow(compiler, keymap_messages::kRawTooLong);
      break;
    }
    if (!appendActionByte(compiler, static_cast<uint8_t>(value))) break;
    ++count;
  }
  if (!begun) return;
  setRawByteCount(lastActionRecord(compiler), static_cast<uint8_t>(count));
  ++compiler.keyActionCount;
}

bool appendBytes(KeymapCompiler& compiler, const KeymapToken& text) {
  for (size_t i = 0; i < text.length; ++i) {
    if (!appendActionByte(compiler, text.bytes[i])) return false;
  }
  return appendActionByte(compiler, 0);
}

void compileExec(KeymapCompiler& compiler, const uint8_t* pos) {
  const ExecStrings strings = readExecStrings(pos);
  if (!strings.quoted) noteKeymapWarning(compiler, KeymapDiagnosticKind::kUnquotedExec);
  if (!beginAction(compiler, kActionExec)) return;
  if (appendBytes(compiler, strings.path)) appendBytes(compiler, strings.arguments);
  ++compiler.keyActionCount;
}

void compileKey(KeymapCompiler& compiler, const uint8_t* pos) {
  closeKey(compiler);
  if ((compiler.blockFlags & kKeymapOpen) == 0) {
    reportKeymapError(compiler, keymap_messages::kKeyMisplaced);
    return;
  }
  compiler.blockFlags |= kKeyOpen;
  compiler.keyLine = compiler.editorLine;
  compiler.keyActionCount = 0;
  const int32_t type = parseToken(compiler, pos);
  // A key beyond the twelfth gets no record; its end reports it.
  if (compiler.completeKeys < kKeysPerKeymap) {
    KeyRecord& key = compiler.keys[compiler.completeKeys];
    key.type = static_cast<uint16_t>(type);
    key.actionCount = 0;
    key.actions = compiler.actionTableUsed;
  }
}

void compileKeymap(KeymapCompiler& compiler, const uint8_t* pos) {
  compiler.sawKeymapLine = true;
  closeKeymap(compiler);
  const int32_t number = parseToken(compiler, pos);
  if (number < 0 || number >= kKeymapSlots) {
    reportKeymapError(compiler, keymap_messages::kBadKeymapNumber);
    return;
  }
  compiler.blockFlags |= kKeymapOpen;
  compiler.keymapLine = compiler.editorLine;
  compiler.completeKeys = 0;
  compiler.actionAreaUsed = 0;
  compiler.actionTableUsed = 0;
  compiler.keymapNumber = number;
  compiler.keymapDamaged = false;
  for (KeyRecord& key : compiler.keys) key = KeyRecord{};
}

void compileDefcode(KeymapCompiler& compiler, const uint8_t* pos) {
  const KeymapToken name = nextKeymapToken(pos);
  // The value is evaluated before the symbol exists, so a name is not
  // visible on its own line.
  const int32_t value = parseToken(compiler, pos);
  defineSymbol(compiler, name, value);
}

void compileVkmap(KeymapCompiler& compiler, const uint8_t* pos) {
  // The virtual-key map is fixed; the tokens are only checked.
  parseToken(compiler, pos);
  parseToken(compiler, pos);
}

// The tail of a cut statement line runs as a statement of its own; once per
// editor line, a checker says so.
void noteLongLine(KeymapCompiler& compiler) {
  if (compiler.longLineNoted == compiler.editorLine) return;
  compiler.longLineNoted = compiler.editorLine;
  noteKeymapWarning(compiler, KeymapDiagnosticKind::kLongLine);
}

void compileStatement(KeymapCompiler& compiler) {
  const uint8_t* pos = nullptr;
  switch (matchKeymapKeyword(compiler.line, pos)) {
    case KeymapKeyword::kChar:
      return compileChar(compiler, pos);
    case KeymapKeyword::kAttach:
      return compileAttach(compiler, pos);
    case KeymapKeyword::kNop:
      return compileNop(compiler);
    case KeymapKeyword::kCommand:
      return compileCommand(compiler, pos);
    case KeymapKeyword::kRaw:
      return compileRaw(compiler, pos);
    case KeymapKeyword::kExec:
      return compileExec(compiler, pos);
    case KeymapKeyword::kKeymap:
      return compileKeymap(compiler, pos);
    case KeymapKeyword::kKey:
      return compileKey(compiler, pos);
    case KeymapKeyword::kDefcode:
      return compileDefcode(compiler, pos);
    case KeymapKeyword::kVkmapl:
    case KeymapKeyword::kVkmap:
      return compileVkmap(compiler, pos);
    case KeymapKeyword::kNone:
      break;
  }
  reportKeymapError(compiler, keymap_messages::kUnknownStatement);
}

}  // namespace

void compileKeymapText(KeymapCompiler& compiler, EngineState& engine) {
  compiler.engine = &engine;
  compiler.lineNumber = 0;
  size_t pos = 0;
  bool cut = false;
  // A comment line cut at the line limit stays a comment to its line end:
  // its tail must not run as a statement. Its pieces still count as lines.
  // A statement line's pieces stay lines of their own, even one beginning
  // with "#".
  bool inComment = false;
  bool continued = false;
  int32_t nextEditorLine = 1;
  while (takeKeymapLine(compiler.text, pos, compiler.line, cut)) {
    ++compiler.lineNumber;
    // The piece after a cut is on the same line in an editor.
    compiler.editorLine = nextEditorLine;
    if (!cut) ++nextEditorLine;
    const bool tail = continued;
    const bool comment = inComment || compiler.line[0] == '#';
    inComment = cut && (inComment || (comment && !tail));
    continued = cut;
    if (comment || compiler.line[0] == 0) continue;
    if (tail) noteLongLine(compiler);
    compiler.inStatement = true;
    compileStatement(compiler);
    compiler.inStatement = false;
    compiler.statementReported = false;
    if (compiler.errorFlag) break;
  }
  // Only a text read to its end is known to lack a keymap line.
  if (!compiler.errorFlag && !compiler.sawKeymapLine) {
    noteKeymapWarning(compiler, KeymapDiagnosticKind::kNoKeymap);
  }
  closeKeymap(compiler);
}
