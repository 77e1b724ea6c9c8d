// Settings round trips through the (wine) registry of the current user, and
// the program-folder and shortcut paths.
#include "shell/settings_store.h"

#include <gtest/gtest.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <algorithm>
#include <cstring>
#include <cwchar>
#include <string>
#include <utility>
#include <vector>

#include "engine/option_table.h"

namespace {

struct RawValue {
  bool present = false;
  DWORD type = 0;
  std::vector<BYTE> bytes;
};

RawValue readRaw(const wchar_t* name) {
  RawValue value;
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
    return value;
  }
  DWORD size = 0;
  if (RegQueryValueExW(key, name, nullptr, &value.type, nullptr, &size) == ERROR_SUCCESS) {
    value.bytes.resize(size);
    value.present = RegQueryValueExW(key, name, nullptr, &value.type,
                                     size ? value.bytes.data() : nullptr, &size) == ERROR_SUCCESS;
  }
  RegCloseKey(key);
  return value;
}

// Writes exactly `size` bytes; the system would add a NUL to a string value
// whose data is followed by one, so the copy is followed by non-zero bytes.
void writeRaw(const wchar_t* name, DWORD type, const void* data, DWORD size) {
  std::vector<BYTE> bytes(static_cast<const BYTE*>(data), static_cast<const BYTE*>(data) + size);
  bytes.resize(size + 4, 0xFF);
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                            &key, nullptr),
            ERROR_SUCCESS);
  ASSERT_EQ(RegSetValueExW(key, name, 0, type, bytes.data(), size), ERROR_SUCCESS);
  RegCloseKey(key);
}

DWORD dwordOf(const RawValue& value) {
  DWORD result = 0;
  if (value.bytes.size() == sizeof(result)) std::memcpy(&result, value.bytes.data(), 4);
  return result;
}

class SettingsStoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    deleteSettingsKey();
    setEngineDefaults(shell.engine);
  }
  void TearDown() override { deleteSettingsKey(); }

  ShellState shell;
};

TEST_F(SettingsStoreTest, FirstRunKeepsTheDefaults) {
  std::wcscpy(shell.keymapPath, L"left over");
  loadSettingsInto(shell);
  EXPECT_EQ(shell.engine.options, kDefaultOptions);
  EXPECT_EQ(shell.engine.timeoutMs, 1000);
  EXPECT_STREQ(shell.keymapPath, L"");
}

// On desktop Windows a turned display is a monitor, not a slid-out keyboard:
// with no stored Flag the rotation behaviour is 何もしない. A stored Flag
// keeps whatever behaviour it holds.
TEST_F(SettingsStoreTest, FirstStartLeavesATurnedDesktopDisplayAlone) {
#ifdef _WIN32_WCE
  EXPECT_EQ(firstStartOptions(), kDefaultOptions);
#else
  EXPECT_EQ(firstStartOptions(), kDefaultOptions | rotationBehaviourBits(kRotationDoNothing));
#endif
  shell.engine.options = firstStartOptions();
  loadSettingsInto(shell);
  EXPECT_EQ(shell.engine.options, firstStartOptions());  // nothing stored
  for (uint32_t behaviour = 0; behaviour < 4; ++behaviour) {
    const DWORD stored = kDefaultOptions | rotationBehaviourBits(behaviour);
    writeRaw(L"Flag", REG_DWORD, &stored, sizeof(stored));
    shell.engine.options = firstStartOptions();
    loadSettingsInto(shell);
    EXPECT_EQ(rotationBehaviour(shell.engine.options), behaviour);
  }
}

TEST_F(SettingsStoreTest, RunTimeBitsAreNeitherStoredNorLoaded) {
  // Bits 16-23 (0x10000 and 0x80000 once held the turned screen and the
  // CapsLock latch) never reach the registry.
  shell.engine.options = kDefaultOptions | 0x10000 | 0x80000 | 0x01000003;
  shell.engine.timeoutMs = 750;
  saveSettingsFrom(shell);
  RawValue flag = readRaw(L"Flag");
  ASSERT_TRUE(flag.present);
  EXPECT_EQ(flag.type, static_cast<DWORD>(REG_DWORD));
  EXPECT_EQ(dwordOf(flag), 0x01004103u);
  RawValue timeout = readRaw(L"Tout");
  EXPECT_EQ(timeout.type, static_cast<DWORD>(REG_DWORD));
  EXPECT_EQ(dwordOf(timeout), 750u);

  DWORD stored = 0xFFFFFFFF;
  writeRaw(L"Flag", REG_DWORD, &stored, sizeof(stored));
  ShellState loaded;
  setEngineDefaults(loaded.engine);
  loadSettingsInto(loaded);
  EXPECT_EQ(loaded.engine.options, 0xFF00FFFFu);
  EXPECT_EQ(loaded.engine.timeoutMs, 750);

  // Each option of the options table comes back as the table says.
  for (const OptionRow& row : kOptionTable) {
    shell.engine.options = row.bits;
    saveSettingsFrom(shell);
    loadSettingsInto(loaded);
    const uint32_t kept = row.storage == OptionStorage::kStored ? row.bits : 0;
    EXPECT_EQ(loaded.engine.options, kept) << std::hex << row.bits;
  }
}

TEST_F(SettingsStoreTest, EmptyPathIsAZeroByteType7Value) {
  saveSettingsFrom(shell);
  RawValue keymap = readRaw(L"Keymap");
  ASSERT_TRUE(keymap.present);
  EXPECT_EQ(keymap.type, 7u);
  EXPECT_EQ(keymap.bytes.size(), 0u);
  std::wcscpy(shell.keymapPath, L"stale");
  loadSettingsInto(shell);
  EXPECT_STREQ(shell.keymapPath, L"");
}

TEST_F(SettingsStoreTest, TenCharacterPathIsTwentyBytesWithoutNul) {
  std::wcscpy(shell.keymapPath, L"\\My\\km.txt");
  ASSERT_EQ(std::wcslen(shell.keymapPath), 10u);
  saveSettingsFrom(shell);
  RawValue keymap = readRaw(L"Keymap");
  EXPECT_EQ(keymap.type, 7u);
  ASSERT_EQ(keymap.bytes.size(), 20u);
  EXPECT_EQ(std::memcmp(keymap.bytes.data(), L"\\My\\km.txt", 20), 0);

  ShellState loaded;
  loadSettingsInto(loaded);
  EXPECT_STREQ(loaded.keymapPath, L"\\My\\km.txt");
}

TEST_F(SettingsStoreTest, LongestPathLoadsWithItsNul) {
  std::wstring longest(255, L'a');
  writeRaw(L"Keymap", 7, longest.c_str(), 510);
  ASSERT_EQ(readRaw(L"Keymap").bytes.size(), 510u);
  ShellState loaded;
  std::fill(std::begin(loaded.keymapPath), std::end(loaded.keymapPath), L'x');
  loadSettingsInto(loaded);
  EXPECT_EQ(std::wstring(loaded.keymapPath), longest);
}

TEST_F(SettingsStoreTest, UnreadableValuesKeepTheirDefaults) {
  struct Case {
    const char* what;
    std::vector<BYTE> keymap;
  };
  std::wstring tooLong(256, L'b');
  std::vector<BYTE> tooLongBytes(reinterpret_cast<const BYTE*>(tooLong.data()),
                                 reinterpret_cast<const BYTE*>(tooLong.data()) + 512);
  std::vector<BYTE> oddBytes = {'a', 0, 'b'};
  for (const Case& c : {Case{"256 units", tooLongBytes}, Case{"odd size", oddBytes}}) {
    SCOPED_TRACE(c.what);
    writeRaw(L"Keymap", 7, c.keymap.data(), static_cast<DWORD>(c.keymap.size()));
    WORD shortFlag = 0x12;
    writeRaw(L"Flag", REG_BINARY, &shortFlag, sizeof(shortFlag));
    ShellState loaded;
    setEngineDefaults(loaded.engine);
    std::fill(std::begin(loaded.keymapPath), std::end(loaded.keymapPath), L'x');
    loadSettingsInto(loaded);
    EXPECT_STREQ(loaded.keymapPath, L"");
    EXPECT_EQ(loaded.engine.options, kDefaultOptions);
  }
}

TEST_F(SettingsStoreTest, DeletedKeyComesBackAtTheNextSave) {
  saveSettingsFrom(shell);
  deleteSettingsKey();
  EXPECT_FALSE(readRaw(L"Flag").present);
  shell.engine.timeoutMs = 300;
  saveSettingsFrom(shell);
  EXPECT_EQ(dwordOf(readRaw(L"Tout")), 300u);
}

bool keyExists(const wchar_t* path) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, path, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
    return false;
  }
  RegCloseKey(key);
  return true;
}

TEST_F(SettingsStoreTest, DeleteRemovesTheMakersKeyOnlyWhenNothingElseIsInIt) {
  const struct {
    const char* what;
    bool siblingKey;
    bool value;
    bool makerStays;
  } cases[] = {
      {"nothing else", false, false, false},
      {"another program's key", true, false, true},
      {"a value of its own", false, true, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    saveSettingsFrom(shell);
    HKEY maker = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kMakerKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                              &maker, nullptr),
              ERROR_SUCCESS);
    HKEY sibling = nullptr;
    if (c.siblingKey) {
      ASSERT_EQ(RegCreateKeyExW(maker, L"other", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &sibling,
                                nullptr),
                ERROR_SUCCESS);
      RegCloseKey(sibling);
    }
    const DWORD one = 1;
    if (c.value) {
      RegSetValueExW(maker, L"kept", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&one),
                     sizeof(one));
    }
    deleteSettingsKey();
    EXPECT_FALSE(keyExists(kSettingsKey));
    EXPECT_EQ(keyExists(kMakerKey), c.makerStays);
    RegDeleteKeyW(maker, L"other");
    RegDeleteValueW(maker, L"kept");
    RegCloseKey(maker);
    RegDeleteKeyW(HKEY_CURRENT_USER, kMakerKey);
  }
}

TEST_F(SettingsStoreTest, GlobalStateRoundTrip) {
  setEngineDefaults(shellState.engine);
  shellState.engine.options = kOptionKanaToggle | kOptionAutoAdvance;
  std::wcscpy(shellState.keymapPath, L"k.txt");
  saveSettings();
  setEngineDefaults(shellState.engine);
  loadSettings();
  EXPECT_EQ(shellState.engine.options,
            static_cast<uint32_t>(kOptionKanaToggle | kOptionAutoAdvance));
  EXPECT_STREQ(shellState.keymapPath, L"k.txt");
}

TEST(ProgramFolderPath, KeepsTheFolderWithItsBackslash) {
  struct Case {
    const wchar_t* file;
    const wchar_t* name;
    const wchar_t* expected;
  };
  const Case cases[] = {
      {L"\\Program Files\\x\\padquiltkanalt.exe", L"defaultkeymap.txt",
       L"\\Program Files\\x\\defaultkeymap.txt"},
      {L"C:\\a\\b.exe", L"padquiltkanalt.txt", L"C:\\a\\padquiltkanalt.txt"},
      {L"\\top.exe", L"n", L"\\n"},
      {L"bare.exe", L"n", L"bare.exen"},
  };
  for (const Case& c : cases) {
    wchar_t output[kPathUnits];
    EXPECT_TRUE(folderWithFileName(output, c.file, c.name));
    EXPECT_STREQ(output, c.expected);
  }
}

TEST(ProgramFolderPath, TooLongResultIsEmptyNotOverrun) {
  std::wstring folder = L"\\" + std::wstring(240, L'f') + L"\\p.exe";
  wchar_t output[kPathUnits + 1];
  output[kPathUnits] = L'!';
  EXPECT_FALSE(folderWithFileName(*reinterpret_cast<wchar_t(*)[kPathUnits]>(output), folder.c_str(),
                                  L"defaultkeymap.txt"));
  EXPECT_STREQ(output, L"");
  EXPECT_EQ(output[kPathUnits], L'!');
  std::wstring fits = L"\\" + std::wstring(236, L'f') + L"\\p.exe";
  EXPECT_TRUE(folderWithFileName(*reinterpret_cast<wchar_t(*)[kPathUnits]>(output), fits.c_str(),
                                 L"defaultkeymap.txt"));
  EXPECT_EQ(std::wcslen(output), 255u);
}

TEST(ProgramFolderPath, UsesTheRunningProgramsFolder) {
  wchar_t module[MAX_PATH];
  GetModuleFileNameW(nullptr, module, MAX_PATH);
  std::wstring folder(module);
  folder.erase(folder.rfind(L'\\') + 1);
  wchar_t output[kPathUnits];
  EXPECT_TRUE(programFolderPath(output, L"defaultkeymap.txt"));
  EXPECT_EQ(std::wstring(output), folder + L"defaultkeymap.txt");
}

// The name of the program file the build makes (ASCII).
std::wstring builtProgramName() {
  const std::string name = PQK_BUILT_PROGRAM_NAME;
  return std::wstring(name.begin(), name.end());
}

// A program path reader that answers what the test sets.
std::wstring fakeProgramPath;
DWORD fakeAnswer = 0;

DWORD readFakeProgramPath(wchar_t* buffer, DWORD units) {
  const size_t copied = std::min<size_t>(fakeProgramPath.size(), units);
  std::wmemcpy(buffer, fakeProgramPath.data(), copied);
  if (copied < units) buffer[copied] = L'\0';
  return fakeAnswer;
}

TEST(ProgramFolderPath, CutShortProgramPathGivesNoFolder) {
  const std::wstring filled = L"C:\\" + std::wstring(kProgramPathUnits, L'f');
  const struct {
    const char* what;
    std::wstring path;
    DWORD answer;
    const wchar_t* expected;  // nullptr: no folder
  } cases[] = {
      {"whole", L"C:\\pqk\\padquiltkanalt.exe", 25, L"C:\\pqk\\n"},
      {"cut short, answer = buffer", filled, kProgramPathUnits, nullptr},
      {"cut short, answer = buffer - 1", filled, kProgramPathUnits - 1, nullptr},
      {"no answer", L"", 0, nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    fakeProgramPath = c.path;
    fakeAnswer = c.answer;
    useProgramPathReader(readFakeProgramPath);
    wchar_t output[kPathUnits];
    output[0] = L'!';
    const bool found = programFolderPath(output, L"n");
    useProgramPathReader(nullptr);
    EXPECT_EQ(found, c.expected != nullptr);
    EXPECT_STREQ(output, c.expected != nullptr ? c.expected : L"");
  }
  // The shortcut is not aimed at a wrong folder either.
  fakeProgramPath = filled;
  fakeAnswer = kProgramPathUnits;
  useProgramPathReader(readFakeProgramPath);
  wchar_t target[kShortcutTargetUnits];
  EXPECT_FALSE(startupShortcutTarget(target));
  EXPECT_STREQ(target, L"");
  deleteStartupShortcut();
  EXPECT_FALSE(createStartupShortcut());
  useProgramPathReader(nullptr);
  EXPECT_FALSE(startupShortcutExists());
}

TEST(StartupShortcut, TargetQuotesTheProgramAndStartsHidden) {
  wchar_t program[kPathUnits];
  programFolderPath(program, L"padquiltkanalt.exe");
  wchar_t target[kShortcutTargetUnits];
  startupShortcutTarget(target);
  EXPECT_EQ(std::wstring(target), L"\"" + std::wstring(program) + L"\" -s");
  // The file the build makes, or auto-start would start nothing.
  const std::wstring text = target;
  const std::wstring tail = L"\\" + builtProgramName() + L"\" -s";
  ASSERT_GT(text.size(), tail.size());
  EXPECT_EQ(text.substr(text.size() - tail.size()), tail);
}

TEST(StartupShortcut, PathIsInTheStartupFolder) {
  wchar_t folder[MAX_PATH + 1];
  ASSERT_TRUE(SHGetSpecialFolderPathW(nullptr, folder, CSIDL_STARTUP, FALSE));
  wchar_t path[kPathUnits];
  startupShortcutPath(path);
  EXPECT_EQ(std::wstring(path), std::wstring(folder) + L"\\padquiltkana.lnk");
}

// The program path and the arguments a shell link names.
std::pair<std::wstring, std::wstring> readShortcut(const wchar_t* path) {
  std::pair<std::wstring, std::wstring> result;
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  IShellLinkW* link = nullptr;
  if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                 reinterpret_cast<void**>(&link)))) {
    IPersistFile* file = nullptr;
    if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
      if (SUCCEEDED(file->Load(path, STGM_READ))) {
        wchar_t text[MAX_PATH + 1] = {};
        link->GetPath(text, MAX_PATH, nullptr, SLGP_RAWPATH);
        result.first = text;
        link->GetArguments(text, MAX_PATH);
        result.second = text;
      }
      file->Release();
    }
    link->Release();
  }
  CoUninitialize();
  return result;
}

TEST(StartupShortcut, CreateExistsDelete) {
  deleteStartupShortcut();
  EXPECT_FALSE(startupShortcutExists());
  createStartupShortcut();
  EXPECT_TRUE(startupShortcutExists());

  wchar_t shortcut[kPathUnits];
  startupShortcutPath(shortcut);
  wchar_t program[kPathUnits];
  programFolderPath(program, L"padquiltkanalt.exe");
  auto [target, arguments] = readShortcut(shortcut);
  EXPECT_EQ(_wcsicmp(target.c_str(), program), 0) << std::string(target.begin(), target.end());
  EXPECT_EQ(arguments, L"-s");

  deleteStartupShortcut();
  EXPECT_FALSE(startupShortcutExists());
}

}  // namespace
