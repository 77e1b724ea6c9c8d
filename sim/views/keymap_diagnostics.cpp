#include "sim/views/keymap_diagnostics.h"

#include <cstdio>
#include <cstring>

namespace {

std::string location(const std::string& file, int32_t line) {
  return line > 0 ? file + ":" + std::to_string(line) + ": " : file + ": ";
}

// The token as written, with bytes that are no printable ASCII as \xHH.
std::string printableToken(const std::string& token) {
  std::string out;
  for (unsigned char byte : token) {
    if (byte >= 0x20 && byte < 0x7F) {
      out += static_cast<char>(byte);
    } else {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
      out += escaped;
    }
  }
  return out;
}

std::string warningText(const KeymapDiagnostic& d) {
  char value[16];
  std::snprintf(value, sizeof value, "0x%X", d.value);
  switch (d.kind) {
    case KeymapDiagnosticKind::kHexDigits:
      return printableToken(d.text) + " に16進数の数字でない文字があります (" + value +
             " と読まれます)";
    case KeymapDiagnosticKind::kUnquotedExec:
      return "execのプログラムと引数は \"…\" で囲んでください (囲みの外の文字は使われません)";
    case KeymapDiagnosticKind::kLongLine:
      return "行が838バイトを超えています (残りは次の行として読まれます)";
    case KeymapDiagnosticKind::kNoKeymap:
      return "keymap行がありません (キーマップが一つもできません)";
    case KeymapDiagnosticKind::kUnknownCommand:
      return std::string("commandの番号 ") + value + " のコマンドはありません (何もしません)";
    default:
      return d.text;
  }
}

}  // namespace

std::string formatKeymapMessage(const std::string& file, const std::string& text) {
  static const char kLineMark[] = "行:";
  size_t digits = 0;
  while (digits < text.size() && text[digits] >= '0' && text[digits] <= '9') ++digits;
  if (digits > 0 && text.compare(digits, std::strlen(kLineMark), kLineMark) == 0) {
    return file + ":" + text.substr(0, digits) + ": " + text;
  }
  return file + ": " + text;
}

std::vector<KeymapCheckLine> keymapCheckLines(const KeymapDiagnostic& d) {
  switch (d.kind) {
    case KeymapDiagnosticKind::kMissingPath:
      return {};
    case KeymapDiagnosticKind::kError:
      return {{d.editorLine, d.text}};
    case KeymapDiagnosticKind::kKeyError:
      return {{d.editorLine, d.text}, {d.startLine, "備考: このkeyはここから始まります"}};
    case KeymapDiagnosticKind::kKeymapError:
      return {{d.editorLine, d.text}, {d.startLine, "備考: このkeymapはここから始まります"}};
    default:
      return {{d.editorLine, "警告: " + warningText(d)}};
  }
}

std::string formatKeymapDiagnostic(const std::string& file, const KeymapDiagnostic& d) {
  std::string text;
  for (const KeymapCheckLine& line : keymapCheckLines(d)) {
    text += location(file, line.line) + line.text + "\n";
  }
  return text;
}
