#include "shell/settings_store.h"

#include <shlobj.h>

#include <cstring>
#include <cwchar>

namespace {

ProgramPathReader installedPathReader = nullptr;

bool queryDword(HKEY key, const wchar_t* name, DWORD& value) {
  DWORD stored = 0;
  DWORD size = sizeof(stored);
  if (RegQueryValueExW(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(&stored), &size) !=
      ERROR_SUCCESS) {
    return false;
  }
  // A shorter value would leave part of the word unwritten.
  if (size != sizeof(stored)) return false;
  value = stored;
  return true;
}

// Reads "Keymap" into path only when the whole value fits in 255 units;
// anything else leaves the path empty.
void queryKeymapPath(HKEY key, wchar_t (&path)[kPathUnits]) {
  wchar_t buffer[kPathUnits] = {};
  DWORD size = kKeymapValueMaxBytes;
  LONG result =
      RegQueryValueExW(key, L"Keymap", nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), &size);
  path[0] = L'\0';
  if (result != ERROR_SUCCESS || size > kKeymapValueMaxBytes || size % sizeof(wchar_t) != 0) {
    return;
  }
  buffer[size / sizeof(wchar_t)] = L'\0';
  std::memcpy(path, buffer, sizeof(path));
}

bool appendText(wchar_t* output, size_t units, size_t& length, const wchar_t* text) {
  size_t textLength = std::wcslen(text);
  if (length + textLength >= units) return false;
  std::memcpy(output + length, text, textLength * sizeof(wchar_t));
  length += textLength;
  output[length] = L'\0';
  return true;
}

}  // namespace

uint32_t firstStartOptions() {
#ifdef _WIN32_WCE
  return kDefaultOptions;
#else
  return kDefaultOptions | rotationBehaviourBits(kRotationDoNothing);
#endif
}

void loadSettingsInto(ShellState& shell) {
  shell.keymapPath[0] = L'\0';
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, kSettingsKey, 0, kRegReadAccess, &key) != ERROR_SUCCESS) {
    return;
  }
  DWORD value = 0;
  if (queryDword(key, L"Flag", value)) shell.engine.options = value & kStoredOptionsMask;
  if (queryDword(key, L"Tout", value)) shell.engine.timeoutMs = static_cast<int32_t>(value);
  queryKeymapPath(key, shell.keymapPath);
  RegCloseKey(key);
}

void saveSettingsFrom(const ShellState& shell) {
  HKEY key = nullptr;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0, kRegWriteAccess, nullptr,
                      &key, nullptr) != ERROR_SUCCESS) {
    return;
  }
  DWORD flags = shell.engine.options & kStoredOptionsMask;
  DWORD timeout = static_cast<DWORD>(shell.engine.timeoutMs);
  RegSetValueExW(key, L"Flag", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&flags), sizeof(flags));
  RegSetValueExW(key, L"Tout", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&timeout),
                 sizeof(timeout));
  // Type 7 without the NUL: an empty path is a value of length 0. Desktop
  // Windows stores a string value's NUL too when the unit after the data is
  // NUL, so the copy is followed by a non-NUL unit.
  wchar_t path[kPathUnits + 1];
  size_t units = wcsnlen(shell.keymapPath, kPathUnits - 1);
  std::memcpy(path, shell.keymapPath, units * sizeof(wchar_t));
  path[units] = L'\xFFFF';
  RegSetValueExW(key, L"Keymap", 0, REG_MULTI_SZ, reinterpret_cast<const BYTE*>(path),
                 static_cast<DWORD>(units * sizeof(wchar_t)));
  RegCloseKey(key);
}

void loadSettings() {
  loadSettingsInto(shellState);
}

void saveSettings() {
  saveSettingsFrom(shellState);
}

void saveDirtySettings() {
  if (!(shellState.appFlags & kAppSettingsDirty)) return;
  saveSettings();
  shellState.appFlags &= ~static_cast<uint32_t>(kAppSettingsDirty);
}

void deleteSettingsKey() {
  RegDeleteKeyW(HKEY_CURRENT_USER, kSettingsKey);
  HKEY maker = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, kMakerKey, 0, kRegReadAccess, &maker) != ERROR_SUCCESS) {
    return;
  }
  DWORD subKeys = 1;
  DWORD values = 1;
  const LONG result = RegQueryInfoKeyW(maker, nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr,
                                       &values, nullptr, nullptr, nullptr, nullptr);
  RegCloseKey(maker);
  // Another program of the same maker may keep its settings there.
  if (result == ERROR_SUCCESS && subKeys == 0 && values == 0) {
    RegDeleteKeyW(HKEY_CURRENT_USER, kMakerKey);
  }
}

bool folderWithFileName(wchar_t (&output)[kPathUnits], const wchar_t* filePath,
                        const wchar_t* name) {
  output[0] = L'\0';
  size_t folderLength = 0;
  size_t pathLength = 0;
  for (; filePath[pathLength] != L'\0'; ++pathLength) {
    if (filePath[pathLength] == L'\\') folderLength = pathLength + 1;
  }
  if (folderLength == 0) folderLength = pathLength;
  if (folderLength + std::wcslen(name) >= kPathUnits) return false;
  std::memcpy(output, filePath, folderLength * sizeof(wchar_t));
  size_t length = folderLength;
  output[length] = L'\0';
  return appendText(output, kPathUnits, length, name);
}

void useProgramPathReader(ProgramPathReader reader) {
  installedPathReader = reader;
}

bool programFolderPath(wchar_t (&output)[kPathUnits], const wchar_t* name) {
  output[0] = L'\0';
  wchar_t programPath[kProgramPathUnits];
  const DWORD length = installedPathReader != nullptr
                           ? installedPathReader(programPath, kProgramPathUnits)
                           : GetModuleFileNameW(nullptr, programPath, kProgramPathUnits);
  // A cut-short path fills the buffer: the answer is its size (one less on
  // systems that keep room for the NUL).
  if (length == 0 || length >= kProgramPathUnits - 1) return false;
  programPath[length] = L'\0';
  return folderWithFileName(output, programPath, name);
}

bool startupShortcutTarget(wchar_t (&output)[kShortcutTargetUnits]) {
  output[0] = L'\0';
  wchar_t program[kPathUnits];
  if (!programFolderPath(program, kProgramFileName)) return false;
  size_t length = 0;
  appendText(output, kShortcutTargetUnits, length, L"\"");
  appendText(output, kShortcutTargetUnits, length, program);
  appendText(output, kShortcutTargetUnits, length, L"\" -s");
  return true;
}

void startupShortcutPath(wchar_t (&output)[kPathUnits]) {
  // The folder query wants a MAX_PATH buffer, longer than the path buffers.
  wchar_t folder[MAX_PATH + 1] = {};
  output[0] = L'\0';
  if (!SHGetSpecialFolderPathW(nullptr, folder, CSIDL_STARTUP, FALSE)) return;
  size_t length = 0;
  if (!appendText(output, kPathUnits, length, folder) ||
      !appendText(output, kPathUnits, length, L"\\padquiltkana.lnk")) {
    output[0] = L'\0';
  }
}

bool createStartupShortcut() {
  wchar_t target[kShortcutTargetUnits];
  if (!startupShortcutTarget(target)) return false;
  wchar_t shortcut[kPathUnits];
  startupShortcutPath(shortcut);
  if (shortcut[0] != L'\0') SHCreateShortcut(shortcut, target);
  return true;
}

void deleteStartupShortcut() {
  wchar_t shortcut[kPathUnits];
  startupShortcutPath(shortcut);
  if (shortcut[0] == L'\0') return;
  DeleteFileW(shortcut);
}

bool startupShortcutExists() {
  wchar_t shortcut[kPathUnits];
  startupShortcutPath(shortcut);
  if (shortcut[0] == L'\0') return false;
  return GetFileAttributesW(shortcut) != INVALID_FILE_ATTRIBUTES;
}
