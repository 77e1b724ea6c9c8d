// What a load tells about the keymap text besides the boxes the program
// shows: every message, including those the program keeps back after a
// statement's first error. The program lets them go; a checker lists them.
#pragma once

#include <string>

enum class KeymapDiagnosticKind {
  kError,        // a message of the program, shown in a box or kept back
  kMissingPath,  // the path shown after "ファイルがありません"
};

struct KeymapDiagnostic {
  KeymapDiagnosticKind kind = KeymapDiagnosticKind::kError;
  // Exactly the text of the message box, "N行:" included.
  std::string text;
  // True when the program showed it in a box.
  bool shown = false;
};
