// Compiler messages and diagnostics as lines for the command line.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "keymap/keymap_diagnostic.h"

// "FILE:LINE: TEXT" when the text begins with its line number ("12行:..."),
// else "FILE: TEXT". TEXT is exactly what the device's message box shows.
std::string formatKeymapMessage(const std::string& file, const std::string& text);

// A diagnostic as `check` lists it, each line ending in a newline:
// "FILE:LINE: TEXT" for a message, LINE being the line an editor shows and
// TEXT exactly the box text; "FILE:LINE: 警告: ..." for a warning; a message
// about a key count is followed by "FILE:LINE: 備考: ..." naming the line
// where its key or keymap began. The path that follows "ファイルがありません"
// gives no line (the file is named already).
std::string formatKeymapDiagnostic(const std::string& file, const KeymapDiagnostic& diagnostic);

// One line of `check`, without the file: the editor line it points at (0
// for none) and its text, exactly the box text for a message, "警告: ..."
// for a warning, "備考: ..." for a note.
struct KeymapCheckLine {
  int32_t line = 0;
  std::string text;
};

// The lines of one diagnostic, in the order `check` lists them.
std::vector<KeymapCheckLine> keymapCheckLines(const KeymapDiagnostic& diagnostic);
