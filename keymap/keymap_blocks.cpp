// Ending the open char list, key and keymap, and turning a finished keymap
// into its image.
#include <cstring>

#include "keymap/keymap_compiler_internal.h"
#include "keymap/keymap_messages.h"

namespace {

// Once a keymap lost records to a full buffer or the load ran out of memory,
// its key counts are consequences of that, not errors of the file: they are
// not reported (the keymap is never installed anyway).
bool countsAreConsequences(const KeymapCompiler& compiler) {
  return compiler.keymapDamaged || compiler.outOfMemory;
}

}  // namespace

void closeCharList(KeymapCompiler& compiler) {
  if ((compiler.blockFlags & kCharListOpen) == 0) return;
  setCharListCount(compiler.actionArea + compiler.openCharList,
                   static_cast<uint8_t>(compiler.entryCount));
  compiler.blockFlags &= ~kCharListOpen;
  ++compiler.keyActionCount;
}

void closeKey(KeymapCompiler& compiler) {
  closeCharList(compiler);
  if ((compiler.blockFlags & kKeyOpen) == 0) return;
  compiler.blockFlags &= ~kKeyOpen;
  if (compiler.completeKeys >= kKeysPerKeymap) {
    reportKeymapMessage(compiler, keymap_messages::kTooManyKeys, KeymapDiagnosticKind::kKeyError,
                        compiler.keyLine);
    return;
  }
  KeyRecord& key = compiler.keys[compiler.completeKeys];
  key.actionCount = static_cast<uint16_t>(compiler.keyActionCount);
  if (hasPairRow(key.type) && compiler.keyActionCount != kKeypadColumns &&
      !countsAreConsequences(compiler)) {
    reportKeymapMessage(compiler, keymap_messages::kBellNeedsTwelve,
                        KeymapDiagnosticKind::kKeyError, compiler.keyLine);
    return;
  }
  ++compiler.completeKeys;
}

void closeKeymap(KeymapCompiler& compiler) {
  closeKey(compiler);
  if ((compiler.blockFlags & kKeymapOpen) == 0) return;
  compiler.blockFlags &= ~kKeymapOpen;
  // What it lost has been reported; it is not installed.
  if (countsAreConsequences(compiler)) return;
  if (compiler.completeKeys != kKeysPerKeymap) {
    reportKeymapMessage(compiler, keymap_messages::kWrongKeyCount,
                        KeymapDiagnosticKind::kKeymapError, compiler.keymapLine);
    return;
  }
  buildAndInstallKeymap(compiler);
}

void buildAndInstallKeymap(KeymapCompiler& compiler) {
  const uint32_t tableSize = compiler.actionTableUsed * kActionTableEntrySize;
  const uint32_t recordsStart = kKeyRecordsSize + tableSize;
  const uint32_t size = recordsStart + compiler.actionAreaUsed;
  uint8_t* block = allocateKeymapImage(size);
  if (block == nullptr) {
    compiler.outOfMemory = true;
    reportKeymapError(compiler, keymap_messages::kReadError);
    return;
  }
  for (int column = 0; column < kKeysPerKeymap; ++column) {
    // While compiling, `actions` is an action-table index.
    KeyRecord key = compiler.keys[column];
    key.actions = kKeyRecordsSize + key.actions * kActionTableEntrySize;
    writeKeyRecord(block + column * kKeyRecordSize, key);
  }
  for (uint32_t i = 0; i < compiler.actionTableUsed; ++i) {
    writeU32(block + kKeyRecordsSize + i * kActionTableEntrySize,
             recordsStart + compiler.actionTable[i]);
  }
  std::memcpy(block + recordsStart, compiler.actionArea, compiler.actionAreaUsed);
  installKeymap(*compiler.engine, static_cast<uint32_t>(compiler.keymapNumber), block, size);
}
