// Readable form of a compiled keymap image, for `padquiltkana-sim dump`.
#pragma once

#include <string>

#include "engine/keymap_image.h"

// Name of a key type, e.g. "toggle"; "none" for types that do nothing.
const char* keyTypeName(uint16_t type);

// One action record, e.g. "char (1,0x54) (17,0x54)" or "command 7 0".
std::string describeActionRecord(const uint8_t* record);

// Every key of the image with its type and actions, one action per line.
std::string describeKeymapImage(const KeymapImage& image);
