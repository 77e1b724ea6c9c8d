// Thousands of random and mutated keymap texts: no crash, no overrun, no leak
// (under the sanitizer build), only known messages, only valid images.
#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <set>

#include "keymap/keymap_messages.h"
#include "tests/keymap/keymap_load.h"

namespace {

class TextGenerator {
 public:
  explicit TextGenerator(uint32_t seed) : random_(seed) {}

  int below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }

  std::string randomBytes() {
    static const char kInteresting[] = "\r\n\0 \t#'\\x\"0123456789abcdefABCDEF";
    std::string text;
    const int length = below(2000);
    for (int i = 0; i < length; ++i) {
      text +=
          below(2) ? kInteresting[below(sizeof kInteresting - 1)] : static_cast<char>(below(256));
    }
    return text;
  }

  std::string token() {
    switch (below(9)) {
      case 0:
        return "'\\x" + hexDigits(below(12)) + (below(2) ? "'" : "");
      case 1:
        return std::string(1, static_cast<char>(0x21 + below(0x5E)));
      case 2:
        return "#" + word();
      case 3:
        return symbols_.empty() ? word() : symbols_[below(static_cast<int>(symbols_.size()))];
      case 4:
        return std::string(250 + below(100), 'T');
      case 5:
        return "'\\x0" + std::to_string(below(10)) + "'";
      case 6:
        return "'\\x0" + std::to_string(1 + below(8)) + "'";  // key types
      default:
        return word();
    }
  }

  std::string statement() {
    static const char* kKeywords[] = {"char",   "attach", "nop",     "command", "raw",   "exec",
                                      "keymap", "key",    "defcode", "vkmapl",  "vkmap", "bogus"};
    std::string line = kKeywords[below(12)];
    if (below(4) == 0) line[0] = static_cast<char>(line[0] & ~0x20);
    if (line == "defcode") {
      const std::string name = below(3) ? word() : std::string(300 + below(400), 'D');
      symbols_.push_back(name);
      return line + " " + name + " " + token();
    }
    if (line == "exec") return line + " \"" + word() + (below(2) ? "\" \"" + word() + "\"" : "");
    const int tokens = line == "raw" && below(5) == 0 ? 250 + below(20) : below(4);
    for (int i = 0; i < tokens; ++i) line += (below(3) ? " " : "\t") + token();
    return line;
  }

  std::string statements() {
    symbols_.clear();
    std::string text;
    const int lines = below(300);
    static const char* kEnds[] = {"\n", "\r\n", "\r", "\n\r"};
    for (int i = 0; i < lines; ++i) text += statement() + kEnds[below(4)];
    return text;
  }

  std::string mutate(std::string text) {
    const int edits = 1 + below(8);
    for (int e = 0; e < edits && !text.empty(); ++e) {
      const size_t at = static_cast<size_t>(below(static_cast<int>(text.size())));
      switch (below(4)) {
        case 0:
          text[at] = static_cast<char>(below(256));
          break;
        case 1:
          text.erase(at, static_cast<size_t>(below(40)));
          break;
        case 2:
          text.insert(at, text.substr(at, static_cast<size_t>(below(200))));
          break;
        default:
          text.insert(at, std::string(static_cast<size_t>(below(1000)), below(2) ? 'x' : ' '));
          break;
      }
    }
    return text;
  }

 private:
  std::string word() {
    std::string w;
    const int length = 1 + below(6);
    for (int i = 0; i < length; ++i) w += static_cast<char>('A' + below(26));
    return w;
  }
  std::string hexDigits(int count) {
    std::string digits;
    for (int i = 0; i < count; ++i) digits += "0123456789abcdefABCDEF:@"[below(24)];
    return digits;
  }

  std::mt19937 random_;
  std::vector<std::string> symbols_;
};

std::string validKeymaps() {
  std::string text = "defcode T '\\x02'\ndefcode BELL '\\x01'\n";
  for (int number : {0, 4, 5}) {
    text += "keymap '\\x0" + std::to_string(number) + "'\nkey BELL\n";
    for (int i = 0; i < 12; ++i) text += "char '\\x01' " + std::string(1, 'A' + i) + "\n";
    text += keys(11, "char A\nattach B\nraw '\\x01' C '\\x02' C\nexec \"x\" \"y\"\nnop\n", "T");
  }
  return text;
}

// The message without its line prefix, or "" when the prefix is malformed.
std::string messageBody(const std::string& message) {
  size_t digits = 0;
  while (digits < message.size() && message[digits] >= '0' && message[digits] <= '9') ++digits;
  const std::string prefix = "行:";
  if (digits == 0 || message.compare(digits, prefix.size(), prefix) != 0) return message;
  return message.substr(digits + prefix.size());
}

TEST(KeymapFuzzTest, RandomAndMutatedTexts) {
  namespace m = keymap_messages;
  const std::set<std::string> known = {
      m::kUnknownStatement, m::kSymbolNotFound,  m::kCharMisplaced,   m::kAttachMisplaced,
      m::kKeyMisplaced,     m::kBadKeymapNumber, m::kBellNeedsTwelve, m::kTooManyKeys,
      m::kWrongKeyCount,    m::kTooManySymbols,  m::kStringAreaFull,  m::kActionAreaFull,
      m::kTooManyActions,   m::kTooManyAttach,   m::kRawTooLong};
  TextGenerator generate(20261207);
  const std::string valid = validKeymaps();
  KeymapLoad load;
  ASSERT_TRUE(load.load(valid).empty());
  ASSERT_EQ(load.filledSlots(), (std::vector<int>{0, 4, 5}));

  int installed = 0;
  for (int round = 0; round < 3000; ++round) {
    std::string text;
    switch (round % 3) {
      case 0:
        text = generate.randomBytes();
        break;
      case 1:
        text = generate.statements();
        break;
      default:
        text = generate.mutate(valid);
        break;
    }
    const std::vector<std::string> messages = load.load(text);
    // A statement's first error, then the ends of the open key and keymap.
    ASSERT_LE(messages.size(), 3u) << "round " << round;
    for (const KeymapDiagnostic& noted : load.platform.diagnostics()) {
      if (isKeymapWarning(noted.kind)) continue;
      const std::string& message = noted.text;
      ASSERT_EQ(known.count(messageBody(message)), 1u) << message << " in round " << round;
      // An editor never counts more lines than the compiler, which counts
      // each cut piece as a line.
      const int32_t line = std::atoi(message.c_str());
      ASSERT_TRUE(line == 0 ? noted.editorLine == 0
                            : noted.editorLine >= 1 && noted.editorLine <= line)
          << message << " on editor line " << noted.editorLine << " in round " << round;
    }
    for (int slot = 0; slot < kKeymapSlots; ++slot) {
      if (!load.filled(slot)) continue;
      ++installed;
      ASSERT_TRUE(
          isValidKeymapImage(load.engine.keymaps[slot].bytes, load.engine.keymaps[slot].size));
    }
  }
  // The mutations leave many keymaps intact: the generator reaches the image
  // builder, not just the error paths.
  EXPECT_GT(installed, 300);
}

}  // namespace
