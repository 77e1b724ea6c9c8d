// Feeds arbitrary bytes to the keymap compiler as a keymap file and checks
// that whatever it installs is a well-formed image.
#include <cstdlib>

#include "engine/engine_state.h"
#include "fuzz/fuzz_support.h"
#include "keymap/keymap_compiler.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  EngineState engine;
  setEngineDefaults(engine);
  MemoryKeymapPlatform platform;
  platform.data = data;
  platform.size = size;
  loadKeymapFile(engine, platform, "fuzz.txt");
  for (const KeymapImage& image : engine.keymaps) {
    if (image.bytes != nullptr && !isValidKeymapImage(image.bytes, image.size)) std::abort();
  }
  clearKeymaps(engine);
  return 0;
}
