#include <string>

#include "keymap/keymap_compiler_internal.h"

void reportKeymapMessage(KeymapCompiler& compiler, const std::string& messageUtf8,
                         KeymapDiagnosticKind kind, int32_t startLine) {
  compiler.errorFlag = true;
  KeymapDiagnostic diagnostic;
  diagnostic.kind = kind;
  diagnostic.text = compiler.lineNumber == 0
                        ? messageUtf8
                        : std::to_string(compiler.lineNumber) + "行:" + messageUtf8;
  // The first error stops the load, so the rest of its statement would only
  // cost the user one tap per bad token. The ends of the open key and keymap
  // are news of their own and keep their boxes.
  const bool closing =
      kind == KeymapDiagnosticKind::kKeyError || kind == KeymapDiagnosticKind::kKeymapError;
  diagnostic.shown = closing || !compiler.statementReported;
  if (compiler.inStatement) compiler.statementReported = true;
  diagnostic.editorLine = compiler.lineNumber == 0 ? 0 : compiler.editorLine;
  diagnostic.startLine = startLine;
  if (diagnostic.shown) compiler.platform->showKeymapMessage(diagnostic.text);
  compiler.platform->noteKeymapDiagnostic(diagnostic);
}

void reportKeymapError(KeymapCompiler& compiler, const std::string& messageUtf8) {
  reportKeymapMessage(compiler, messageUtf8, KeymapDiagnosticKind::kError);
}

void reportKeymapError(KeymapCompiler& compiler, const char* messageUtf8) {
  reportKeymapError(compiler, std::string(messageUtf8));
}

void noteKeymapWarning(KeymapCompiler& compiler, KeymapDiagnosticKind kind,
                       const KeymapToken& token, uint32_t value) {
  KeymapDiagnostic diagnostic;
  diagnostic.kind = kind;
  if (token.length != 0) {
    diagnostic.text.assign(reinterpret_cast<const char*>(token.bytes), token.length);
  }
  // A missing keymap line concerns the whole file.
  const bool wholeFile = kind == KeymapDiagnosticKind::kNoKeymap || compiler.lineNumber == 0;
  diagnostic.editorLine = wholeFile ? 0 : compiler.editorLine;
  diagnostic.value = value;
  compiler.platform->noteKeymapDiagnostic(diagnostic);
}
