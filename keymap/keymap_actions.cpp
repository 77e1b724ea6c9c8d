#include "keymap/keymap_actions.h"

#include "keymap/keymap_messages.h"

void reportKeymapOverflow(KeymapCompiler& compiler, const char* messageUtf8) {
  if (!compiler.keymapDamaged) reportKeymapError(compiler, messageUtf8);
  compiler.keymapDamaged = true;
}

bool beginAction(KeymapCompiler& compiler, uint8_t kind) {
  closeCharList(compiler);
  // Records written outside a keymap are thrown away when the next keymap
  // opens; dropping them at once keeps them from filling the area.
  if ((compiler.blockFlags & kKeymapOpen) == 0) {
    compiler.actionAreaUsed = 0;
    compiler.actionTableUsed = 0;
  }
  if (compiler.actionTableUsed >= kMaxActions) {
    reportKeymapOverflow(compiler, keymap_messages::kTooManyActions);
    return false;
  }
  if (kActionAreaSize - compiler.actionAreaUsed < 2) {
    reportKeymapOverflow(compiler, keymap_messages::kActionAreaFull);
    return false;
  }
  compiler.actionTable[compiler.actionTableUsed++] = compiler.actionAreaUsed;
  compiler.actionArea[compiler.actionAreaUsed++] = kind;
  compiler.actionArea[compiler.actionAreaUsed++] = 0;
  return true;
}

uint8_t* lastActionRecord(KeymapCompiler& compiler) {
  return compiler.actionArea + compiler.actionTable[compiler.actionTableUsed - 1];
}

bool appendActionByte(KeymapCompiler& compiler, uint8_t byte) {
  if (compiler.actionAreaUsed >= kActionAreaSize) {
    reportKeymapOverflow(compiler, keymap_messages::kActionAreaFull);
    return false;
  }
  compiler.actionArea[compiler.actionAreaUsed++] = byte;
  return true;
}
