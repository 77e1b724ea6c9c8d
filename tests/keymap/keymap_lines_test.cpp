// Splitting the text into numbered lines.
#include <gtest/gtest.h>

#include "tests/keymap/keymap_load.h"

namespace {

using Messages = std::vector<std::string>;

std::string withLineEnds(const std::string& text, const std::string& end) {
  std::string out;
  for (char c : text) {
    if (c == '\n') {
      out += end;
    } else {
      out += c;
    }
  }
  return out;
}

TEST(KeymapLinesTest, CrOnlyAndLfOnlyCompileLikeCrLf) {
  const std::string text = "# keymaps\n  keymap '\\x00'\n" + keys(12, "\tchar A\nattach B\n") +
                           "\n" + emptyKeymap(1) + "oops\n";
  KeymapLoad reference;
  const Messages messages = reference.load(withLineEnds(text, "\r\n"));
  EXPECT_EQ(messages, Messages{"53行:判定できないコマンドです"});
  for (const char* end : {"\r", "\n"}) {
    KeymapLoad load;
    EXPECT_EQ(load.load(withLineEnds(text, end)), messages);
    EXPECT_EQ(load.image(0), reference.image(0));
    EXPECT_EQ(load.image(1), reference.image(1));
  }
  EXPECT_EQ(reference.filledSlots(), (std::vector<int>{0, 1}));
}

TEST(KeymapLinesTest, LfCrEndsTwoLines) {
  KeymapLoad load;
  EXPECT_EQ(load.load("nop\n\rnop\n\rbad"), Messages{"5行:判定できないコマンドです"});
  EXPECT_EQ(load.load("nop\r\n\r\nbad"), Messages{"3行:判定できないコマンドです"});
  EXPECT_EQ(load.load("nop\r\r\nbad\n"), Messages{"3行:判定できないコマンドです"});
}

TEST(KeymapLinesTest, LongLinesContinueOnTheNextNumber) {
  // 838 bytes of a nop statement, then 62 bytes whose blanks are skipped.
  const std::string first = "nop" + std::string(835, 'x');
  const std::string rest = "   bad" + std::string(56, 'y');
  KeymapLoad load;
  EXPECT_EQ(load.load(first + rest + "\nbad\n"), Messages{"2行:判定できないコマンドです"});
  EXPECT_EQ(load.load(first + "\nbad\n"), Messages{"2行:判定できないコマンドです"});
  EXPECT_EQ(load.load(first + "z\nbad\n"), Messages{"2行:判定できないコマンドです"});
  // Leading blanks do not count towards the 838 bytes.
  EXPECT_EQ(load.load("\t  " + first + "\nbad\n"), Messages{"2行:判定できないコマンドです"});
  // A piece of a statement line is a comment only up to its own end.
  EXPECT_EQ(load.load(first + "#" + std::string(837, 'c') + "bad\n"),
            Messages{"3行:判定できないコマンドです"});

  // Both halves of a cut line are statements of the key.
  const std::string text =
      "keymap '\\x00'\nkey '\\x02'\n" + first + "\t nop" + std::string(58, 'q') + "\n" + keys(11);
  EXPECT_TRUE(load.load(text).empty());
  EXPECT_EQ(readU16(load.image(0).data() + 2), 2);
}

TEST(KeymapLinesTest, LongCommentLinesStayComments) {
  struct LongComment {
    std::string line;
    int pieces;  // lines of 838 bytes it counts as
  };
  std::string japanese = "#";
  for (int i = 0; i < 300; ++i) japanese += "\xE3\x81\x82";  // cut inside a character
  const LongComment comments[] = {
      {"# " + std::string(836, '-') + "keymap '\\x05'", 2},
      {japanese, 2},
      {"#" + std::string(2000, 'b'), 3},
  };
  for (const LongComment& comment : comments) {
    KeymapLoad load;
    // The numbers of the lines after it are as if the pieces were lines.
    EXPECT_EQ(load.load(comment.line + "\n" + emptyKeymap(1) + "bad\n"),
              Messages{std::to_string(comment.pieces + 14) + "行:判定できないコマンドです"});
    EXPECT_EQ(load.filledSlots(), std::vector<int>{1});
  }
}

TEST(KeymapLinesTest, ByteOrderMarkFailsOnLineOne) {
  KeymapLoad load;
  EXPECT_EQ(load.load("\xEF\xBB\xBF# a comment\n" + emptyKeymap(0)),
            Messages{"1行:判定できないコマンドです"});
  EXPECT_TRUE(load.filledSlots().empty());
}

TEST(KeymapLinesTest, NulEndsTheText) {
  KeymapLoad load;
  std::string text = emptyKeymap(0);
  text += std::string(1, '\0') + "garbage\nkeymap '\\x01'\n";
  EXPECT_TRUE(load.load(text).empty());
  EXPECT_EQ(load.filledSlots(), std::vector<int>{0});
  // A NUL inside a line ends the text there too: the keymap lacks its keys.
  text = "keymap '\\x00'\nkey '\\x02'";
  text += std::string(1, '\0') + "\n" + keys(11);
  EXPECT_EQ(load.load(text), Messages{"2行:Keyの数が合いません"});
}

TEST(KeymapLinesTest, EmptyAndCommentOnlyTextsAreSilent) {
  for (const std::string text : {"", "\n\n", "# only\r\n  # comments\n\t\t\n#"}) {
    KeymapLoad load;
    load.load(emptyKeymap(4));
    EXPECT_TRUE(load.load(text).empty());
    EXPECT_TRUE(load.filledSlots().empty());
  }
}

TEST(KeymapLinesTest, ASecondLoadReplacesTheFirst) {
  KeymapLoad load;
  EXPECT_TRUE(load.load(emptyKeymap(0) + emptyKeymap(2)).empty());
  EXPECT_EQ(load.filledSlots(), (std::vector<int>{0, 2}));
  EXPECT_TRUE(load.load("keymap '\\x05'\n" + keys(12, "nop\n")).empty());
  EXPECT_EQ(load.filledSlots(), std::vector<int>{5});
  EXPECT_EQ(load.image(5).size(), 96u + 48 + 24);
}

}  // namespace
