// Compiler messages as diagnostic lines for the command line.
#pragma once

#include <string>

// "FILE:LINE: TEXT" when the text begins with its line number ("12行:..."),
// else "FILE: TEXT". TEXT is exactly what the device's message box shows.
std::string formatKeymapMessage(const std::string& file, const std::string& text);
