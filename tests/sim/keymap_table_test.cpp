// The table command: what each key types, found by pressing the keys on the
// simulated device.
#include "sim/views/keymap_table.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sim/views/sim_commands.h"
#include "tests/sim/temp_file.h"

namespace {

using Texts = std::vector<std::string>;

// Keymap 0: key 1 a pair key whose twelve actions show each kind of cell,
// key 2 a toggle, key 3 the post-conversion key. Keymap 5: a toggle of
// direct characters.
const char kKeymap[] =
    "keymap '\\x00'\n"
    "key '\\x01'\n"
    "char '\\x01' T\n"
    "attach '\\x11' T\n"
    "raw '\\x01' '\\x24' '\\x02' '\\x24'\n"
    "command '\\x07' '\\x01'\n"
    "command '\\x03'\n"
    "nop\n"
    "command '\\x04' '\\x05'\n"
    "command '\\x02'\n"
    "raw '\\x01' X '\\x02' X '\\x01' W '\\x02' W '\\x01' A '\\x02' A\n"
    "char '\\x20'\n"
    "exec \"calc.exe\" \"-x\"\n"
    "char '\\x01' Z\n"
    "attach '\\x03' Z\n"
    "attach '\\x11' Z\n"
    "char '\\x01' T\n"
    "key '\\x02'\n"
    "char '\\x01' T\n"
    "char '\\x01' G\n"
    "key '\\x04'\n"
    "key\nkey\nkey\nkey\nkey\nkey\nkey\nkey\nkey\n"
    "keymap '\\x05'\n"
    "key '\\x02'\n"
    "char A\n"
    "attach '\\x02' A\n"
    "char '\\x02' '\\xBF'\n"
    "key '\\x04'\n"
    "key\nkey\nkey\nkey\nkey\nkey\nkey\nkey\nkey\nkey\n";

Texts cellTexts(const TableKey& key) {
  Texts texts;
  for (const TableCell& cell : key.cells) texts.push_back(cell.text);
  return texts;
}

TEST(KeymapTableTest, EveryKeyIsPressedOnTheDevice) {
  TempFile file(kKeymap);
  const KeymapTable pairs = buildKeymapTable(file.path(), 0, kDefaultOptions);
  ASSERT_FALSE(pairs.empty);
  EXPECT_EQ(pairs.options, kDefaultOptions | kOptionTwoTouch);
  EXPECT_EQ(pairs.postColumn, 2);
  EXPECT_EQ(cellTexts(pairs.keys[0]),
            (Texts{"か", "[Home]", "[画面90度]", "[コマンド3]", "--", "[keymap5]", "[IMEオフ]",
                   "ゎ", "[空白]", "[実行 \"calc.exe\" \"-x\"]", "つ", "か"}));
  EXPECT_EQ(pairs.keys[0].cells[0].forms, Texts{"が"});
  EXPECT_EQ(pairs.keys[0].cells[10].forms, (Texts{"っ", "づ"}));
  EXPECT_TRUE(pairs.keys[0].cells[11].forms.empty());
  EXPECT_EQ(cellTexts(pairs.keys[1]), (Texts{"か", "き"}));
  EXPECT_TRUE(pairs.keys[2].cells.empty());

  // Slot 5 runs in kana toggle mode with the IME off.
  const KeymapTable direct = buildKeymapTable(file.path(), 5, kDefaultOptions);
  EXPECT_EQ(direct.options, kDefaultOptions | kOptionKanaToggle);
  EXPECT_FALSE(direct.imeOn);
  EXPECT_EQ(cellTexts(direct.keys[0]), (Texts{"a", "?"}));
  EXPECT_EQ(direct.keys[0].cells[0].forms, Texts{"A"});

  EXPECT_TRUE(buildKeymapTable(file.path(), 3, kDefaultOptions).empty);

  // A key of very many actions shows the first 64.
  std::string many = "keymap '\\x00'\nkey '\\x02'\n";
  for (int i = 0; i < 65; ++i) many += "nop\n";
  for (int i = 0; i < 11; ++i) many += "key\n";
  TempFile manyFile(many);
  const KeymapTable cut = buildKeymapTable(manyFile.path(), 0, kDefaultOptions);
  EXPECT_EQ(cut.keys[0].cells.size(), 64u);
  EXPECT_EQ(cut.keys[0].notShown, 1u);
}

TEST(KeymapTableTest, PrintsKeysGridAndForms) {
  TempFile file(kKeymap);
  SimCommandLine line;
  std::string error;
  ASSERT_TRUE(parseSimCommandLine({"table", file.path()}, line, error)) << error;
  SimOutput output;
  EXPECT_EQ(runTableCommand(line, output), 0);
  const std::string none =
      "  4  none\n  5  none\n  6  none\n  7  none\n  8  none\n  9  none\n"
      "  *  none\n  0  none\n  #  none\n";
  EXPECT_EQ(
      output.out,
      "keymap 0: 2-touch, IME on, options 0x4108\n"
      "  2  toggle:  か き\n"
      "  3  next entry\n" +
          none +
          "  pairs (first key down, second key across):\n"
          "       1  2      3          4           5  6         7         8  9      *         "
          "             0  #\n"
          "    1  か [Home] [画面90度] [コマンド3] -- [keymap5] [IMEオフ] ゎ [空白] [実行 "
          "\"calc.exe\" \"-x\"] つ か\n"
          "  post-conversion with 3:\n"
          "    1  か→が つ→っ→づ\n"
          "keymap 5: kana toggle, IME off, options 0x4140\n"
          "  1  toggle:  a ?\n"
          "  2  next entry\n"
          "  3  none\n" +
          none +
          "  post-conversion with 2:\n"
          "    1  a→A\n");

  ASSERT_TRUE(
      parseSimCommandLine({"table", file.path(), "--slot", "7", "--options", "4120"}, line, error));
  EXPECT_EQ(line.settings.options, 0x4120u);
  output = {};
  EXPECT_EQ(runTableCommand(line, output), 0);
  EXPECT_EQ(output.out, "keymap 7: empty\n");

  TempFile broken("keymap 3\n");
  ASSERT_TRUE(parseSimCommandLine({"table", broken.path()}, line, error));
  output = {};
  EXPECT_EQ(runTableCommand(line, output), 1);
  EXPECT_EQ(output.err, broken.path() + ":1: 1行:Keymap番号が不正です\n");
  EXPECT_EQ(output.out, "");
}

}  // namespace
