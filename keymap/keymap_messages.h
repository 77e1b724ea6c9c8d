// Every message the keymap compiler shows, once, in the user's own language.
#pragma once

namespace keymap_messages {

constexpr const char* kUnknownStatement = "判定できないコマンドです";
constexpr const char* kSymbolNotFound = "symbolが見つかりません";
constexpr const char* kCharMisplaced = "charの位置が不正";
constexpr const char* kAttachMisplaced = "attachの位置が不正です";
constexpr const char* kKeyMisplaced = "Keyの位置が不正";
constexpr const char* kBadKeymapNumber = "Keymap番号が不正です";
constexpr const char* kBellNeedsTwelve = "bellはactionが12個必要です";
constexpr const char* kTooManyKeys = "Keyの数が多すぎます";
constexpr const char* kWrongKeyCount = "Keyの数が合いません";
constexpr const char* kTooManySymbols = "symbol定義数が多すぎます";
constexpr const char* kStringAreaFull = "string領域が溢れました";
constexpr const char* kFileMissing = "ファイルがありません";
constexpr const char* kReadError = "読込エラー";

// Limits of the record format and of the working buffers.
constexpr const char* kActionAreaFull = "action領域が溢れました";
constexpr const char* kTooManyActions = "actionの数が多すぎます";
constexpr const char* kTooManyAttach = "attachの数が多すぎます";
constexpr const char* kRawTooLong = "rawのbyte数が多すぎます";

}  // namespace keymap_messages
