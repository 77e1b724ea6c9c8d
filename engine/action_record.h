// The action records of a keymap image and the words they are written in:
// record kinds, keymap command numbers, raw step directions. A record is
// read through the accessors below (kind byte first); only the image code
// knows its byte offsets.
#pragma once

#include <cstdint>
#include <cstring>

// Action record kinds (first byte of a record), by the keymap statement that
// writes them.
enum ActionKind : uint8_t {
  kActionNop = 0,      // "nop"
  kActionChar = 1,     // "char", further entries by "attach"
  kActionCommand = 2,  // "command"
  kActionRaw = 3,      // "raw"
  kActionExec = 4,     // "exec"
};

// Command numbers of command records, with the manual's words for them
// (chapter 10, コマンド). Every other number does nothing.
enum KeymapCommand : uint8_t {
  kKeymapCommandPartnerKeymap = 1,  // 相方のキーマップに切り替え: slot XOR 1
  kKeymapCommandImeOnOff = 2,       // IME のオン/オフ: Alt+漢字
  kKeymapCommandEndInput = 3,       // 入力途中の状態を終わらせる
  kKeymapCommandSelectKeymap = 4,   // パラメータの番号のキーマップに切り替え
  kKeymapCommandNextEntry = 5,      // 後変換 (次の候補)
  kKeymapCommandPreviousEntry = 6,  // 後変換 (前の候補)
  kKeymapCommandRotateScreen = 7,   // 画面を回転: parameter 0-3 an angle, 4+ a quarter on
};

// The number after the last command: a new command takes it and moves this on.
constexpr uint8_t kFirstUnusedKeymapCommand = kKeymapCommandRotateScreen + 1;

constexpr bool isKnownKeymapCommand(uint8_t number) {
  return number >= kKeymapCommandPartnerKeymap && number < kFirstUnusedKeymapCommand;
}

// Directions of a raw step (direction byte, virtual key); the default keymap
// calls them PRESS and RELEASE.
enum RawDirection : uint8_t {
  kRawPress = 1,
  kRawRelease = 2,
};

inline uint8_t actionKind(const uint8_t* record) {
  return record[0];
}

// char: the entries (modifier, virtual key), 1-255 of them.
inline int charListCount(const uint8_t* record) {
  return record[1];
}
inline uint8_t charEntryModifier(const uint8_t* record, int i) {
  return record[2 + 2 * i];
}
inline uint8_t charEntryVk(const uint8_t* record, int i) {
  return record[3 + 2 * i];
}

// command: a number and its parameter.
inline uint8_t commandNumber(const uint8_t* record) {
  return record[2];
}
inline uint8_t commandParameter(const uint8_t* record) {
  return record[3];
}

// raw: the bytes as written, read as steps (direction, virtual key).
inline uint32_t rawByteCount(const uint8_t* record) {
  return record[2];
}
inline const uint8_t* rawBytes(const uint8_t* record) {
  return record + 3;
}

// exec: the program path and, after its NUL, the NUL-terminated arguments.
// The path's address is what the main window is handed (window command
// 30000); execArgumentsAfter finds the arguments from there.
inline const char* execProgramPath(const uint8_t* record) {
  return reinterpret_cast<const char*>(record + 2);
}
inline const char* execArgumentsAfter(const char* programPath) {
  return programPath + std::strlen(programPath) + 1;
}
inline const char* execArguments(const uint8_t* record) {
  return execArgumentsAfter(execProgramPath(record));
}

// The counts the compiler fills in once a char list or a raw list has ended.
inline void setCharListCount(uint8_t* record, uint8_t count) {
  record[1] = count;
}
inline void setRawByteCount(uint8_t* record, uint8_t count) {
  record[2] = count;
}
