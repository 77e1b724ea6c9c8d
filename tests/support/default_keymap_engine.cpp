#include "tests/support/default_keymap_engine.h"

#include <cstdio>

#include "engine/us_layout.h"
#include "keymap/host_keymap_platform.h"
#include "keymap/keymap_compiler.h"

LayoutKey UsKeyboardLayout::keyForCharacter(char16_t character) {
  ++calls;
  for (int vk = 0; vk < 256; ++vk) {
    for (bool shift : {false, true}) {
      if (character != 0 && usLayoutCharacter(static_cast<uint8_t>(vk), shift) == character) {
        return {true, static_cast<uint8_t>(vk), static_cast<uint8_t>(shift ? kLayoutShift : 0)};
      }
    }
  }
  return {};
}

DefaultKeymapEngine::DefaultKeymapEngine() {
  engine.keyOutput = &output;
  engine.imeControl = &ime;
  engine.keyboardLayout = &layout;
  engine.systemKeys = &keyState;
  setEngineDefaults(engine);
  HostKeymapPlatform platform(stderr);
  loadKeymapFile(engine, platform, std::string(PQK_SOURCE_DIR) + "/data/defaultkeymap.txt");
}

DefaultKeymapEngine::~DefaultKeymapEngine() {
  clearKeymaps(engine);
}
