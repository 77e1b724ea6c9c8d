// Where the terminal tool finds the default keymap.
#pragma once

#include <string>

// data/defaultkeymap.txt under the working folder, else defaultkeymap.txt
// beside the program, else the one of the source tree.
std::string defaultKeymapPath();
