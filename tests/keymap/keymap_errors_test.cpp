// Every error message with its exact text and line number, and what each
// error leaves installed.
#include <gtest/gtest.h>

#include "tests/keymap/keymap_load.h"

namespace {

using Messages = std::vector<std::string>;

struct ErrorCase {
  const char* what;
  std::string text;
  Messages messages;
};

TEST(KeymapErrorsTest, EachMessageWithItsLine) {
  const std::string open = "keymap '\\x00'\n";
  const ErrorCase cases[] = {
      {"unknown statement", "# c\n\nhello\n", {"3行:判定できないコマンドです"}},
      {"unknown symbol", "vkmap AB Q\n", {"1行:symbolが見つかりません"}},
      {"both vkmap tokens are checked, one box", "vkmapl AB CD\n", {"1行:symbolが見つかりません"}},
      {"char outside a key", "char A\n", {"1行:charの位置が不正"}},
      {"char before the first key",
       open + "char A\n",
       {"2行:charの位置が不正", "2行:Keyの数が合いません"}},
      {"attach without a char list", "attach A\n", {"1行:attachの位置が不正です"}},
      {"attach after a nop",
       open + "key '\\x02'\nchar A\nnop\nattach B\n",
       {"5行:attachの位置が不正です", "5行:Keyの数が合いません"}},
      {"attach after a key line",
       open + "key '\\x02'\nchar A\nkey '\\x02'\nattach B\n",
       {"5行:attachの位置が不正です", "5行:Keyの数が合いません"}},
      {"key outside a keymap", "key '\\x02'\n", {"1行:Keyの位置が不正"}},
      {"keymap 3 is the code 51", "keymap 3\n", {"1行:Keymap番号が不正です"}},
      {"keymap 10", "keymap '\\x0a'\n", {"1行:Keymap番号が不正です"}},
      {"keymap -1", "keymap '\\xffffffff'\n", {"1行:Keymap番号が不正です"}},
      {"keymapA", "keymapA\n", {"1行:Keymap番号が不正です"}},
      {"bell with one action",
       open + "key '\\x01'\nnop\nkey '\\x02'\n",
       {"4行:bellはactionが12個必要です", "4行:Keyの数が合いません"}},
      {"type 6 with none",
       open + "key '\\x06'\nkey '\\x02'\n",
       {"3行:bellはactionが12個必要です", "3行:Keyの数が合いません"}},
      {"type 8 at the end",
       open + keys(11) + "key '\\x08'\nnop\n",
       {"14行:bellはactionが12個必要です", "14行:Keyの数が合いません"}},
      {"eleven keys at the end", open + keys(11) + "# end\n", {"13行:Keyの数が合いません"}},
      {"thirteen keys at the end", open + keys(13, "nop\n"), {"27行:Keyの数が多すぎます"}},
      {"eleven keys then a keymap line",
       open + keys(11) + "keymap '\\x01'\n" + keys(12),
       {"13行:Keyの数が合いません", "13行:Keyの数が合いません"}},
      {"an error line before a keymap",
       open + keys(12) + "bad\nkeymap '\\x01'\n",
       {"14行:判定できないコマンドです"}},
  };
  for (const ErrorCase& c : cases) {
    KeymapLoad load;
    EXPECT_EQ(load.load(c.text), c.messages) << c.what;
  }
}

TEST(KeymapErrorsTest, OneBoxForAStatementsFirstErrorThenTheClosingMessages) {
  const std::string open = "keymap '\\x00'\n";
  struct BoxCase {
    const char* what;
    std::string text;
    Messages shown;
    Messages noted;
  };
  const BoxCase cases[] = {
      {"bad tokens of one raw line",
       open + "key '\\x02'\nraw ZZ '\\x01' YY XX\n",
       {"3行:symbolが見つかりません", "3行:Keyの数が合いません"},
       {"3行:symbolが見つかりません", "3行:symbolが見つかりません (kept back)",
        "3行:symbolが見つかりません (kept back)", "3行:Keyの数が合いません"}},
      {"both vkmap tokens",
       "vkmap AB CD\n",
       {"1行:symbolが見つかりません"},
       {"1行:symbolが見つかりません", "1行:symbolが見つかりません (kept back)"}},
      {"a key line ending a bell key, with a bad type",
       open + "key '\\x01'\nkey BAD\n",
       {"3行:bellはactionが12個必要です", "3行:Keyの数が合いません"},
       {"3行:bellはactionが12個必要です", "3行:symbolが見つかりません (kept back)",
        "3行:Keyの数が合いません"}},
      {"a keymap line ending a short keymap, then the closing message",
       open + keys(11) + "keymap '\\x01'\n",
       {"13行:Keyの数が合いません", "13行:Keyの数が合いません"},
       {"13行:Keyの数が合いません", "13行:Keyの数が合いません"}},
      {"a keymap line ending a bell key: both closing messages, then its bad token kept back",
       open + keys(11) + "key '\\x01'\nkeymap ZZ\n",
       {"14行:bellはactionが12個必要です", "14行:Keyの数が合いません", "14行:Keyの数が合いません"},
       {"14行:bellはactionが12個必要です", "14行:Keyの数が合いません",
        "14行:symbolが見つかりません (kept back)", "14行:Keyの数が合いません"}},
  };
  for (const BoxCase& c : cases) {
    KeymapLoad load;
    EXPECT_EQ(load.load(c.text), c.shown) << c.what;
    EXPECT_EQ(load.noted(), c.noted) << c.what;
  }
  // The file's errors are shown one box each.
  KeymapLoad load;
  loadKeymapFile(load.engine, load.platform, "/nonexistent/keymap.txt");
  EXPECT_EQ(load.noted(), (Messages{"ファイルがありません", "/nonexistent/keymap.txt"}));
  EXPECT_EQ(load.platform.diagnostics()[1].kind, KeymapDiagnosticKind::kMissingPath);
}

TEST(KeymapErrorsTest, ErrorInTheTwelfthKeysLastActionStillInstalls) {
  KeymapLoad load;
  const std::string text = "keymap '\\x04'\n" + keys(12, "nop\n") + "command '\\x01' BAD\n";
  EXPECT_EQ(load.load(text), Messages{"26行:symbolが見つかりません"});
  const Bytes image = load.image(4);
  ASSERT_EQ(image.size(), 96u + 13 * 4 + 24 + 4);
  EXPECT_EQ(readU16(image.data() + 11 * 8 + 2), 2);  // the bad command counts
  EXPECT_EQ(Bytes(image.end() - 4, image.end()), commandAction(1, 0));
}

TEST(KeymapErrorsTest, ErrorInTheFifthKeyKeepsEarlierKeymaps) {
  KeymapLoad load;
  const std::string text = emptyKeymap(0) + emptyKeymap(1) + emptyKeymap(2) + "keymap '\\x03'\n" +
                           keys(4, "nop\n") + "key '\\x02'\nchar ZZ\nchar A\n" + emptyKeymap(5);
  // Lines: 3 x 13, then keymap 3 on line 40, eight lines of keys, the bad
  // char on line 50.
  EXPECT_EQ(load.load(text), (Messages{"50行:symbolが見つかりません", "50行:Keyの数が合いません"}));
  EXPECT_EQ(load.filledSlots(), (std::vector<int>{0, 1, 2}));
}

TEST(KeymapErrorsTest, ThirteenKeysInstallTheFirstTwelve) {
  KeymapLoad load;
  const std::string text = "keymap '\\x09'\n" + keys(12, "nop\n") + "key '\\x05'\nnop\nnop\n";
  EXPECT_EQ(load.load(text), Messages{"28行:Keyの数が多すぎます"});
  // The thirteenth key's two records are written but no key refers to them.
  EXPECT_EQ(load.image(9).size(), 96u + 14 * 4 + 14 * 2);
  const Bytes got = load.image(9);
  for (int k = 0; k < 12; ++k) {
    EXPECT_EQ(readU16(got.data() + 8 * k), 2);
    EXPECT_EQ(readU16(got.data() + 8 * k + 2), 1);
    EXPECT_EQ(readU32(got.data() + 8 * k + 4), 96u + 4 * k);
  }
}

TEST(KeymapErrorsTest, SymbolTableFull) {
  std::string text;
  for (int i = 0; i < 1025; ++i) text += "defcode S" + std::to_string(i) + " '\\x01'\n";
  KeymapLoad load;
  EXPECT_EQ(load.load(text), Messages{"1025行:symbol定義数が多すぎます"});
  text.resize(text.rfind("defcode"));
  EXPECT_TRUE(load.load(text + emptyKeymap(0)).empty());
  EXPECT_TRUE(load.filled(0));
}

TEST(KeymapErrorsTest, StringAreaFull) {
  // 20 names of 800 bytes and one of 363 take 16384 bytes with their NULs.
  std::string text;
  for (int i = 0; i < 20; ++i) {
    text += "defcode " + std::string(799, 'N') + static_cast<char>('a' + i) + " '\\x01'\n";
  }
  text += "defcode " + std::string(363, 'L') + " '\\x03'\n";
  text += "keymap " + std::string(363, 'L') + "\n" + keys(12);
  KeymapLoad load;
  EXPECT_TRUE(load.load(text).empty());
  EXPECT_TRUE(load.filled(3));

  const std::string full = text.substr(0, text.find("keymap")) + "defcode X '\\x01'\n";
  EXPECT_EQ(load.load(full), Messages{"22行:string領域が溢れました"});
}

struct FailingFilePlatform final : KeymapPlatform {
  bool opens = true;
  std::vector<std::string> messages;
  int closes = 0;
  bool openKeymapFile(const std::string&, uint32_t& size) override {
    size = 100;
    return opens;
  }
  bool readKeymapFile(uint8_t*, uint32_t) override { return false; }
  void closeKeymapFile() override { ++closes; }
  void showKeymapMessage(const std::string& text) override { messages.push_back(text); }
};

TEST(KeymapErrorsTest, FileErrorsEmptyEverySlot) {
  KeymapLoad load;
  load.load(emptyKeymap(0) + emptyKeymap(6));
  ASSERT_EQ(load.filledSlots(), (std::vector<int>{0, 6}));

  FailingFilePlatform failing;
  loadKeymapFile(load.engine, failing, "/x/keymap.txt");
  EXPECT_EQ(failing.messages, Messages{"読込エラー"});
  EXPECT_EQ(failing.closes, 1);
  EXPECT_TRUE(load.filledSlots().empty());

  load.load(emptyKeymap(2));
  failing.messages.clear();
  failing.opens = false;
  loadKeymapFile(load.engine, failing, "/x/かな.txt");
  EXPECT_EQ(failing.messages, (Messages{"ファイルがありません", "/x/かな.txt"}));
  EXPECT_TRUE(load.filledSlots().empty());
}

void* failAllocation(size_t) {
  return nullptr;
}

TEST(KeymapErrorsTest, NoMemoryForTheTextIsAReadError) {
  KeymapLoad load;
  load.load(emptyKeymap(1));
  struct OpenOnly final : KeymapPlatform {
    int reads = 0;
    std::vector<std::string> messages;
    bool openKeymapFile(const std::string&, uint32_t& size) override {
      size = 0xFFFFFFFF;
      return true;
    }
    bool readKeymapFile(uint8_t*, uint32_t) override { return ++reads, true; }
    void closeKeymapFile() override {}
    void showKeymapMessage(const std::string& text) override { messages.push_back(text); }
  } platform;
  loadKeymapFileWith(load.engine, platform, "huge.txt", failAllocation);
  EXPECT_EQ(platform.messages, Messages{"読込エラー"});
  EXPECT_EQ(platform.reads, 0);
  EXPECT_TRUE(load.filledSlots().empty());
}

}  // namespace
