// UTF-8 and UTF-16 text: the compiler's and the options table's texts are
// UTF-8, Win32's are UTF-16.
#pragma once

#include <string>

// UTF-8 to UTF-16; bytes that are not UTF-8 become U+FFFD.
std::wstring wideFromUtf8(const std::string& text);
// UTF-16 to UTF-8, for handing shell paths to the compiler.
std::string utf8FromWide(const wchar_t* text);
