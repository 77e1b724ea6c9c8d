// What a load tells a checker: the editor's line of every message, the line
// where the key or keymap of a key-count message began, and the warnings.
#include <gtest/gtest.h>

#include <cstdio>

#include "engine/action_record.h"
#include "tests/keymap/keymap_load.h"

namespace {

using Lines = std::vector<std::string>;

// One diagnostic as "editor line: what", e.g. "3: 5行:Keyの数が合いません
// (keymap from 1)" or "2: hex '\x1G' = 0x10".
std::string describe(const KeymapDiagnostic& d) {
  std::string what;
  char hex[16];
  std::snprintf(hex, sizeof hex, "0x%X", d.value);
  switch (d.kind) {
    case KeymapDiagnosticKind::kError:
    case KeymapDiagnosticKind::kMissingPath:
      what = d.text;
      break;
    case KeymapDiagnosticKind::kKeyError:
      what = d.text + " (key from " + std::to_string(d.startLine) + ")";
      break;
    case KeymapDiagnosticKind::kKeymapError:
      what = d.text + " (keymap from " + std::to_string(d.startLine) + ")";
      break;
    case KeymapDiagnosticKind::kHexDigits:
      what = "hex " + d.text + " = " + hex;
      break;
    case KeymapDiagnosticKind::kUnquotedExec:
      what = "unquoted exec";
      break;
    case KeymapDiagnosticKind::kLongLine:
      what = "long line";
      break;
    case KeymapDiagnosticKind::kNoKeymap:
      what = "no keymap";
      break;
    case KeymapDiagnosticKind::kUnknownCommand:
      what = std::string("unknown command ") + hex;
      break;
  }
  return std::to_string(d.editorLine) + ": " + what;
}

// The first number past the known commands, as keymap text and as a warning
// shows it.
std::string firstUnusedCommand(const char* format) {
  char text[16];
  std::snprintf(text, sizeof text, format, unsigned{kFirstUnusedKeymapCommand});
  return text;
}

Lines diagnose(const std::string& text) {
  KeymapLoad load;
  load.load(text);
  Lines lines;
  for (const KeymapDiagnostic& d : load.platform.diagnostics()) lines.push_back(describe(d));
  return lines;
}

struct DiagnosticCase {
  const char* what;
  std::string text;
  Lines lines;
};

void expectDiagnostics(const DiagnosticCase* cases, size_t count) {
  for (size_t i = 0; i < count; ++i)
    EXPECT_EQ(diagnose(cases[i].text), cases[i].lines) << cases[i].what;
}

const std::string kLongNop = "nop" + std::string(835, 'x');  // exactly the line limit

TEST(KeymapDiagnosticsTest, EditorLinesAndWhereTheKeyAtFaultBegan) {
  const std::string open = "keymap '\\x00'\n";
  const DiagnosticCase cases[] = {
      {"a cut statement line",
       kLongNop + "bad\r\nbad\r\n",
       {"1: long line", "1: 2行:判定できないコマンドです"}},
      {"after a cut line",
       kLongNop + "nop\nnop\rbad\n",
       {"1: long line", "3: 4行:判定できないコマンドです"}},
      {"a comment of three pieces",
       "#" + std::string(2000, 'c') + "\nbad\n",
       {"2: 4行:判定できないコマンドです"}},
      {"CR, LF, CR LF and LF CR",
       "nop\rnop\nnop\r\nnop\n\rbad",
       {"6: 6行:判定できないコマンドです"}},
      {"a bell key two lines up",
       open + "key '\\x01'\n# c\nnop\nkey '\\x02'\n",
       {"5: 5行:bellはactionが12個必要です (key from 2)",
        "5: 5行:Keyの数が合いません (keymap from 1)"}},
      {"a thirteenth key at the end",
       "# keys\n" + open + keys(13, "nop\n"),
       {"28: 28行:Keyの数が多すぎます (key from 27)"}},
      {"a keymap ended by the next one",
       kLongNop + "nop\n" + open + keys(11) + "keymap '\\x01'\n",
       {"1: long line", "14: 15行:Keyの数が合いません (keymap from 2)",
        "14: 15行:Keyの数が合いません (keymap from 14)"}},
  };
  expectDiagnostics(cases, sizeof cases / sizeof cases[0]);
}

TEST(KeymapDiagnosticsTest, WarningsForTextThatMeansSomethingElse) {
  const std::string keymap = emptyKeymap(0);
  const DiagnosticCase cases[] = {
      {"hex digits",
       keymap + "defcode A '\\x1G'\ndefcode B '\\xg1'\ndefcode C '\\x1'2'\n",
       {"14: hex '\\x1G' = 0x10", "15: hex '\\xg1' = 0x0", "16: hex '\\x1'2' = 0x1"}},
      {"clean literals", keymap + "defcode A '\\x1b'\ndefcode B '\\xFF\ndefcode C '\\x'\n", {}},
      {"a symbol is no literal", "defcode '\\xZZ' '\\x01'\ndefcode X '\\xZZ'\n" + keymap, {}},
      {"exec",
       keymap + "exec calc.exe\nexec \"a\" b\nexec \"a\nexec \"a\" \"b\n",
       {"14: unquoted exec", "15: unquoted exec", "16: unquoted exec", "17: unquoted exec"}},
      {"quoted exec", keymap + "exec \"a\" \"b\" # c\nexec \"a\" # c\nexec # c\nexec\n", {}},
      {"no keymap line", "# nothing\ndefcode A '\\x01'\n", {"0: no keymap"}},
      {"an empty file", "", {"0: no keymap"}},
      {"a bad keymap number still is a keymap line", "keymap 3\n", {"1: 1行:Keymap番号が不正です"}},
      {"stopped before any keymap line", "bad\nkeymap\n", {"1: 1行:判定できないコマンドです"}},
      {"a cut line whose tail is a comment", kLongNop + "#x\n" + keymap, {}},
      {"command numbers the program does not know",
       keymap + "command '\\x00'\ncommand " + firstUnusedCommand("'\\x%02X'") +
           " '\\x01'\ncommand '\\xFF'\ncommand\n",
       {"14: unknown command 0x0", "15: unknown command " + firstUnusedCommand("0x%X"),
        "16: unknown command 0xFF", "17: unknown command 0x0"}},
      {"the seven commands, each number stored as its low byte",
       keymap + "command '\\x01'\ncommand '\\x07' '\\x09'\ncommand '\\x104'\n",
       {}},
      {"a bad number is an error, not also a warning",
       keymap + "command BAD\n",
       {"14: 14行:symbolが見つかりません"}},
  };
  expectDiagnostics(cases, sizeof cases / sizeof cases[0]);
  // Warnings are never shown and never stop the load.
  KeymapLoad load;
  EXPECT_TRUE(load.load("defcode A '\\x1G'\n" + keymap).empty());
  EXPECT_EQ(load.filledSlots(), std::vector<int>{0});
}

}  // namespace
