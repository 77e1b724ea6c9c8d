#include <string>

#include "keymap/keymap_compiler.h"

void reportKeymapMessage(KeymapCompiler& compiler, KeymapDiagnosticKind kind,
                         const std::string& messageUtf8) {
  compiler.errorFlag = true;
  KeymapDiagnostic diagnostic;
  diagnostic.kind = kind;
  diagnostic.text = compiler.lineNumber == 0
                        ? messageUtf8
                        : std::to_string(compiler.lineNumber) + "行:" + messageUtf8;
  // The first error stops the load, so the rest of its statement would only
  // cost the user one tap per bad token.
  diagnostic.shown = !compiler.statementReported;
  if (compiler.inStatement) compiler.statementReported = true;
  if (diagnostic.shown) compiler.platform->showKeymapMessage(diagnostic.text);
  compiler.platform->noteKeymapDiagnostic(diagnostic);
}

void reportKeymapError(KeymapCompiler& compiler, const std::string& messageUtf8) {
  reportKeymapMessage(compiler, KeymapDiagnosticKind::kError, messageUtf8);
}

void reportKeymapError(KeymapCompiler& compiler, const char* messageUtf8) {
  reportKeymapError(compiler, std::string(messageUtf8));
}
