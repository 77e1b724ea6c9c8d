// Loading real files through the host platform.
#include "keymap/host_keymap_platform.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>

#include "tests/keymap/keymap_load.h"

namespace {

using Messages = std::vector<std::string>;

class HostFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/pqk-keymap-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    folder = pattern;
  }
  void TearDown() override {
    std::remove(path("keymap.txt").c_str());
    std::remove(path("empty.txt").c_str());
    rmdir(folder.c_str());
  }
  std::string path(const std::string& name) const { return folder + "/" + name; }
  void write(const std::string& name, const std::string& text) {
    std::ofstream(path(name), std::ios::binary) << text;
  }
  std::string folder;
};

TEST_F(HostFileTest, LoadsAFile) {
  write("keymap.txt", emptyKeymap(3) + "keymap '\\x04'\n" + keys(12, "nop\n"));
  KeymapLoad load;
  loadKeymapFile(load.engine, load.platform, path("keymap.txt"));
  EXPECT_TRUE(load.platform.messages().empty());
  EXPECT_EQ(load.filledSlots(), (std::vector<int>{3, 4}));
  EXPECT_EQ(load.image(4).size(), 96u + 48 + 24);

  write("empty.txt", "");
  loadKeymapFile(load.engine, load.platform, path("empty.txt"));
  EXPECT_TRUE(load.platform.messages().empty());
  EXPECT_TRUE(load.filledSlots().empty());
}

TEST_F(HostFileTest, MissingFileAndFolder) {
  KeymapLoad load;
  load.load(emptyKeymap(0));
  loadKeymapFile(load.engine, load.platform, path("none.txt"));
  EXPECT_EQ(load.platform.messages(), (Messages{"ファイルがありません", path("none.txt")}));
  EXPECT_TRUE(load.filledSlots().empty());

  load.platform.clearMessages();
  loadKeymapFile(load.engine, load.platform, folder);
  EXPECT_EQ(load.platform.messages(), Messages{"読込エラー"});
}

TEST_F(HostFileTest, ErrorsCarryTheirLineAndAreEchoed) {
  write("keymap.txt", "# first\r\nkeymap 3\r\n");
  std::FILE* echo = std::tmpfile();
  ASSERT_NE(echo, nullptr);
  HostKeymapPlatform platform(echo);
  EngineState engine;
  setEngineDefaults(engine);
  loadKeymapFile(engine, platform, path("keymap.txt"));
  EXPECT_EQ(platform.messages(), Messages{"2行:Keymap番号が不正です"});
  std::rewind(echo);
  char printed[64] = {};
  ASSERT_NE(std::fgets(printed, sizeof printed, echo), nullptr);
  EXPECT_STREQ(printed, "2行:Keymap番号が不正です\n");
  std::fclose(echo);
}

}  // namespace
