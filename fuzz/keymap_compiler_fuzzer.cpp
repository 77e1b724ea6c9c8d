// Feeds arbitrary bytes to the keymap compiler as a keymap file and checks
// that whatever it installs is a well-formed image, that a comment line never
// runs, however long it is, and that a load never shows more than three
// message boxes (a statement's first error, then the ends of the open key and
// keymap).
#include <cstdlib>
#include <cstring>
#include <string>

#include "engine/engine_state.h"
#include "fuzz/fuzz_support.h"
#include "keymap/keymap_compiler.h"

namespace {

// Loads `size` bytes as a file; the engine keeps the images.
int loadBytes(EngineState& engine, const uint8_t* data, size_t size) {
  setEngineDefaults(engine);
  MemoryKeymapPlatform platform;
  platform.data = data;
  platform.size = size;
  loadKeymapFile(engine, platform, "fuzz.txt");
  for (const KeymapImage& image : engine.keymaps) {
    if (image.bytes != nullptr && !isValidKeymapImage(image.bytes, image.size)) std::abort();
  }
  return platform.messages;
}

bool sameImages(const EngineState& a, const EngineState& b) {
  for (int slot = 0; slot < kKeymapSlots; ++slot) {
    const KeymapImage& x = a.keymaps[slot];
    const KeymapImage& y = b.keymaps[slot];
    if ((x.bytes == nullptr) != (y.bytes == nullptr) || x.size != y.size) return false;
    if (x.bytes != nullptr && std::memcmp(x.bytes, y.bytes, x.size) != 0) return false;
  }
  return true;
}

}  // namespace

constexpr int kMostBoxesPerLoad = 3;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  EngineState engine;
  const int messages = loadBytes(engine, data, size);
  if (messages > kMostBoxesPerLoad) std::abort();

  // The input again, behind the whole input made into one comment line (its
  // line ends and NULs taken out): the same images and as many boxes.
  std::string text = "#";
  for (size_t i = 0; i < size; ++i) {
    if (data[i] != '\r' && data[i] != '\n' && data[i] != 0) text += static_cast<char>(data[i]);
  }
  text += '\n';
  text.append(reinterpret_cast<const char*>(data), size);
  EngineState commented;
  const int commentedMessages =
      loadBytes(commented, reinterpret_cast<const uint8_t*>(text.data()), text.size());
  if (commentedMessages != messages || !sameImages(engine, commented)) std::abort();

  clearKeymaps(engine);
  clearKeymaps(commented);
  return 0;
}
