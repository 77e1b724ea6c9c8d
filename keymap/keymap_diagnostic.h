// What a load tells about the keymap text besides the boxes the program
// shows: every message, including those the program keeps back after a
// statement's first error, with the line an editor shows, and warnings about
// text that compiles but hardly means what it says. The program lets them
// go; a checker lists them.
#pragma once

#include <cstdint>
#include <string>

enum class KeymapDiagnosticKind {
  kError,        // a message of the program, shown in a box or kept back
  kKeyError,     // a key-count message; startLine is where the key began
  kKeymapError,  // "Keyの数が合いません"; startLine is the keymap's line
  kMissingPath,  // the path shown after "ファイルがありません"
  // Warnings from here on: the program says nothing about them.
  kHexDigits,       // warning: a hex literal holds bytes that are no hex digits
  kUnquotedExec,    // warning: exec text outside double quotes, or a quote left open
  kLongLine,        // warning: a statement line over the line limit goes on as a new line
  kNoKeymap,        // warning: the text has no "keymap" line
  kUnknownCommand,  // warning: a command number the program does not know (value)
};

inline bool isKeymapWarning(KeymapDiagnosticKind kind) {
  return kind >= KeymapDiagnosticKind::kHexDigits;
}

struct KeymapDiagnostic {
  KeymapDiagnosticKind kind = KeymapDiagnosticKind::kError;
  // Messages: exactly the text of the message box, "N行:" included.
  // kHexDigits: the token. Other warnings: empty.
  std::string text;
  // True when the program showed it in a box (never for warnings).
  bool shown = false;
  // The line as editors count it (CR, LF and CR LF each end one), where the
  // compiler's own count runs ahead after lines cut at the limit; 0 for none.
  int32_t editorLine = 0;
  // kKeyError, kKeymapError: the editor line of the "key" or "keymap" line
  // at fault (the message itself names the line that ended it).
  int32_t startLine = 0;
  // kHexDigits: the value the literal is read as. kUnknownCommand: the
  // command number.
  uint32_t value = 0;
};
