// The simulator's words for the options, the settings dialogs' own (from the
// options table, engine/option_table.h).
#pragma once

#include <cstdint>
#include <string>

// The input mode in the settings dialog's words: "無し", "かな入力・トグル式"
// or "2タッチ(ポケベル)入力", the latter followed by "ニコタッチ風" when set.
std::string inputModeName(uint32_t options);
