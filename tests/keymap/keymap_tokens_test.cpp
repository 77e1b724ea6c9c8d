// Keywords and token values.
#include <gtest/gtest.h>

#include <memory>

#include "keymap/keymap_compiler_internal.h"
#include "tests/keymap/keymap_load.h"

namespace {

using Messages = std::vector<std::string>;

// A compiler on its own, for evaluating tokens directly.
struct TokenBench {
  HostKeymapPlatform platform;
  std::unique_ptr<KeymapCompiler> compiler = std::make_unique<KeymapCompiler>();
  TokenBench() { compiler->platform = &platform; }

  int32_t value(const std::string& line, std::string* rest = nullptr) {
    const auto* pos = reinterpret_cast<const uint8_t*>(line.c_str());
    const int32_t result = parseToken(*compiler, pos);
    if (rest != nullptr) *rest = reinterpret_cast<const char*>(pos);
    return result;
  }
  void define(const std::string& name, int32_t value) {
    defineSymbol(*compiler, {reinterpret_cast<const uint8_t*>(name.data()), name.size()}, value);
  }
};

struct TokenCase {
  std::string token;
  int32_t value;
  bool error;
};

TEST(KeymapTokensTest, Values) {
  const TokenCase cases[] = {
      {"", 0, false},
      {"  \t ", 0, false},
      {"#", 0, false},
      {"#note", 0, false},
      {"'\\x1B'", 27, false},
      {"'\\x1b'", 27, false},
      {"'\\x001b'", 27, false},
      {"'\\x41'", 65, false},
      {"'\\x'", 0, false},
      {"'\\x7fffffff'", 0x7fffffff, false},
      {"'\\x123456789'", 0x23456789, false},
      {"'\\xg1'", 0, false},   // no digits before the g
      {"'\\x1'2'", 1, false},  // the apostrophe ends the literal
      {"'\\x:'", 3, false},    // bytes between 9 and A count by their arithmetic
      {"A", 65, false},
      {"1", 49, false},
      {"'", 39, false},
      {"\xE3", 0xE3, false},
      {"AB", 0, true},
      {"'\\X41'", 0, true},  // the x is lower case only
      {"\\x41", 0, true},
  };
  for (const TokenCase& c : cases) {
    TokenBench bench;
    EXPECT_EQ(bench.value(c.token), c.value) << c.token;
    EXPECT_EQ(bench.platform.messages().size(), c.error ? 1u : 0u) << c.token;
    if (c.error) {
      EXPECT_EQ(bench.platform.messages()[0], "symbolが見つかりません");
    }
  }
}

TEST(KeymapTokensTest, TokensEndAtBlanksOnly) {
  TokenBench bench;
  std::string rest;
  EXPECT_EQ(bench.value("  A\tB", &rest), 65);
  EXPECT_EQ(rest, "\tB");
  EXPECT_EQ(bench.value("#x B", &rest), 0);
  EXPECT_EQ(rest, " B");
}

TEST(KeymapTokensTest, SymbolsComeBeforeLiteralsAndBytes) {
  TokenBench bench;
  bench.define("A", 5);
  bench.define("'\\x01'", 9);
  bench.define("NAME", 0x12345);
  bench.define("NAME", 7);
  EXPECT_EQ(bench.value("A"), 5);
  EXPECT_EQ(bench.value("'\\x01'"), 9);
  EXPECT_EQ(bench.value("NAME"), 0x12345);  // the first definition wins
  EXPECT_EQ(bench.value("name"), 0);        // names are case-sensitive
  EXPECT_EQ(bench.platform.messages(), Messages{"symbolが見つかりません"});
}

// Tokens and names are used at their full length.
TEST(KeymapTokensTest, LongTokensAndNames) {
  const std::string longName = std::string(279, 'L') + "one";
  const std::string sameStart = std::string(279, 'L') + "two";
  TokenBench bench;
  bench.define(longName, 1);
  bench.define(sameStart, 2);
  EXPECT_EQ(bench.value(longName), 1);
  EXPECT_EQ(bench.value(sameStart), 2);
  EXPECT_EQ(bench.value(std::string(279, 'L')), 0);
  EXPECT_EQ(bench.value("'\\x" + std::string(400, '0') + "1b'"), 27);
  EXPECT_EQ(bench.platform.messages(), Messages{"symbolが見つかりません"});

  KeymapLoad load;
  const std::string name = std::string(700, 'n');
  EXPECT_TRUE(load.load("defcode " + name + " '\\x08'\nkeymap " + name + "\n" + keys(12)).empty());
  EXPECT_TRUE(load.filled(8));
}

TEST(KeymapTokensTest, KeywordsAreCaseInsensitivePrefixes) {
  for (const char* line : {"KEYMAP '\\x03'", "KeyMap '\\x03'", "keymap'\\x03'"}) {
    KeymapLoad load;
    EXPECT_TRUE(load.load(std::string(line) + "\n" + keys(12)).empty()) << line;
    EXPECT_EQ(load.filledSlots(), std::vector<int>{3}) << line;
  }
  KeymapLoad load;
  // No operand is an empty token: keymap 0.
  EXPECT_TRUE(load.load("keymap\n" + keys(12)).empty());
  EXPECT_EQ(load.filledSlots(), std::vector<int>{0});
  // nopx is a nop, NOP too, CHARA is char with the token A.
  EXPECT_TRUE(load.load("keymap\nkey '\\x02'\nnopx\nNOP\nCHARA\nvkmapl A B\nVKMAP A B\n" + keys(11))
                  .empty());
  const Bytes image = load.image(0);
  EXPECT_EQ(readU16(image.data() + 2), 3);
  EXPECT_EQ(Bytes(image.end() - 4, image.end()), charAction({{0, 'A'}}));
  // "ke" alone is no keyword.
  EXPECT_EQ(load.load("ke\n"), Messages{"1行:判定できないコマンドです"});
}

TEST(KeymapTokensTest, DefcodeLines) {
  KeymapLoad load;
  // A symbol is not visible on its own line.
  EXPECT_EQ(load.load("defcode SELF SELF\n"), Messages{"1行:symbolが見つかりません"});
  // Defined twice: the first value stays.
  EXPECT_TRUE(
      load.load("defcode N '\\x03'\ndefcode N '\\x04'\nkeymap N\n" + keys(12, "", "N")).empty());
  EXPECT_EQ(load.filledSlots(), std::vector<int>{3});
  EXPECT_EQ(readU16(load.image(3).data()), 3);
  // Words after the value are ignored; a symbol may stand for another.
  EXPECT_TRUE(
      load.load("defcode T '\\x02' ignored words\ndefcode U T\nkeymap\n" + keys(12, "", "U"))
          .empty());
  EXPECT_EQ(readU16(load.image(0).data()), 2);
}

TEST(KeymapTokensTest, CommandRawAndEntryOperands) {
  KeymapLoad load;
  const std::string text =
      "keymap\nkey '\\x02'\n"
      "command '\\x04'\n"
      "command '\\x03' # reset '\\x09'\n"
      "raw\n"
      "raw # all comment\n"
      "char # note\n"
      "char '\\x10' '\\x20' '\\x01' Q\n" +
      keys(11);
  EXPECT_TRUE(load.load(text).empty());
  TestKeymap expected;
  expected.keys[0] = {2,
                      {commandAction(4, 0), commandAction(3, 0), rawAction({}), rawAction({}),
                       charAction({{0, 0}}), charAction({{0x31, 'Q'}})}};
  for (int column = 1; column < 12; ++column) expected.keys[column] = {2, {}};
  EXPECT_EQ(load.image(0), buildImageBytes(expected));
}

}  // namespace
