// The compiler's Win32 platform: UTF-8 paths reach CreateFileW as UTF-16,
// files are read whole, and messages reach the user as UTF-16.
#include "shell/win32_keymap_platform.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "keymap/keymap_compiler.h"
#include "shell/utf8_text.h"

namespace {

std::vector<std::wstring> shown;
void recordMessage(HWND, const wchar_t* text) {
  shown.push_back(text);
}

std::wstring tempFolder() {
  wchar_t folder[MAX_PATH + 1];
  DWORD length = GetTempPathW(MAX_PATH, folder);
  return std::wstring(folder, length);
}

void writeFile(const std::wstring& path, const std::string& bytes) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
  ASSERT_EQ(written, bytes.size());
}

class Win32KeymapPlatformTest : public ::testing::Test {
 protected:
  void SetUp() override {
    shown.clear();
    path = tempFolder() + L"キー配列テスト.txt";
    setEngineDefaults(engine);
  }
  void TearDown() override {
    DeleteFileW(path.c_str());
    clearKeymaps(engine);
  }

  std::wstring path;
  EngineState engine;
  Win32KeymapPlatform platform{recordMessage};
};

TEST(Utf8Conversion, RoundTripsJapaneseText) {
  const std::wstring wide = L"C:\\データ\\キー配列.txt";
  std::string narrow = utf8FromWide(wide.c_str());
  EXPECT_EQ(narrow,
            "C:\\\xE3\x83\x87\xE3\x83\xBC\xE3\x82\xBF\\\xE3\x82\xAD\xE3\x83\xBC\xE9\x85"
            "\x8D\xE5\x88\x97.txt");
  EXPECT_EQ(wideFromUtf8(narrow), wide);
  EXPECT_EQ(utf8FromWide(L""), "");
  EXPECT_EQ(utf8FromWide(nullptr), "");
  EXPECT_EQ(wideFromUtf8(""), L"");
  EXPECT_EQ(wideFromUtf8("a\xFF"
                         "b"),
            L"a\xFFFD"
            L"b");
}

TEST_F(Win32KeymapPlatformTest, ReadsTheWholeFileUnderAJapanesePath) {
  const std::string bytes = "keymap 0\r\n\x82\xA0\x00tail";
  writeFile(path, std::string(bytes.data(), 16));
  uint32_t size = 0;
  ASSERT_TRUE(platform.openKeymapFile(utf8FromWide(path.c_str()), size));
  ASSERT_EQ(size, 16u);
  std::vector<uint8_t> buffer(size + 1, 0xEE);
  EXPECT_TRUE(platform.readKeymapFile(buffer.data(), size));
  EXPECT_EQ(std::string(buffer.begin(), buffer.begin() + size), std::string(bytes.data(), 16));
  EXPECT_EQ(buffer[size], 0xEE);
  platform.closeKeymapFile();
}

TEST_F(Win32KeymapPlatformTest, EmptyFileAndShortReads) {
  writeFile(path, "");
  uint32_t size = 99;
  ASSERT_TRUE(platform.openKeymapFile(utf8FromWide(path.c_str()), size));
  EXPECT_EQ(size, 0u);
  uint8_t byte = 0;
  EXPECT_TRUE(platform.readKeymapFile(&byte, 0));
  EXPECT_FALSE(platform.readKeymapFile(&byte, 1));
  platform.closeKeymapFile();
  EXPECT_FALSE(platform.readKeymapFile(&byte, 0));
}

TEST_F(Win32KeymapPlatformTest, MissingFileIsReportedWithItsPath) {
  uint32_t size = 0;
  EXPECT_FALSE(platform.openKeymapFile(utf8FromWide(path.c_str()), size));
  loadKeymapFile(engine, platform, utf8FromWide(path.c_str()));
  EXPECT_EQ(shown, (std::vector<std::wstring>{L"ファイルがありません", path}));
}

TEST_F(Win32KeymapPlatformTest, CompilerMessagesArriveAsUtf16) {
  writeFile(path, "keymap 3\n");
  loadKeymapFile(engine, platform, utf8FromWide(path.c_str()));
  ASSERT_FALSE(shown.empty());
  EXPECT_EQ(shown[0], L"1行:Keymap番号が不正です");
  // Only a line's first error gets a box.
  shown.clear();
  writeFile(path, "vkmap AB CD\n");
  loadKeymapFile(engine, platform, utf8FromWide(path.c_str()));
  EXPECT_EQ(shown, std::vector<std::wstring>{L"1行:symbolが見つかりません"});
}

}  // namespace
