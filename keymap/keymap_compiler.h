// The keymap compiler's entry points: a load turns keymap text into keymap
// images and installs them in the engine's slots, showing its messages
// through the platform. The shell, the simulator, the tests, the benchmarks
// and the fuzzers call these; the compiler's own files share
// keymap_compiler_internal.h.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/engine_state.h"
#include "keymap/keymap_platform.h"

// Allocates the text buffer of a load; tests pass one that fails.
using KeymapTextAllocator = void* (*)(size_t size);

// The whole load: clears every slot, reads the file, compiles it and
// installs each complete keymap. Errors are shown through the platform.
void loadKeymapFile(EngineState& engine, KeymapPlatform& platform, const std::string& pathUtf8);
void loadKeymapFileWith(EngineState& engine, KeymapPlatform& platform, const std::string& pathUtf8,
                        KeymapTextAllocator allocate);

// The same load on text already in memory (it ends at `size` or at a NUL).
void loadKeymapText(EngineState& engine, KeymapPlatform& platform, const uint8_t* bytes,
                    size_t size);
void loadKeymapText(EngineState& engine, KeymapPlatform& platform, const std::string& text);
