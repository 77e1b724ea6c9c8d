#include <string>

#include "keymap/keymap_compiler.h"

void reportKeymapError(KeymapCompiler& compiler, const std::string& messageUtf8) {
  compiler.errorFlag = true;
  if (compiler.lineNumber == 0) {
    compiler.platform->showKeymapMessage(messageUtf8);
    return;
  }
  compiler.platform->showKeymapMessage(std::to_string(compiler.lineNumber) + "行:" + messageUtf8);
}

void reportKeymapError(KeymapCompiler& compiler, const char* messageUtf8) {
  reportKeymapError(compiler, std::string(messageUtf8));
}
