#include "tests/support/default_keymap_engine.h"

#include <cstdio>

#include "keymap/host_keymap_platform.h"
#include "keymap/keymap_compiler.h"

DefaultKeymapEngine::DefaultKeymapEngine() {
  engine.keyOutput = &output;
  engine.imeControl = &ime;
  setEngineDefaults(engine);
  HostKeymapPlatform platform(stderr);
  loadKeymapFile(engine, platform, std::string(PQK_SOURCE_DIR) + "/data/defaultkeymap.txt");
}

DefaultKeymapEngine::~DefaultKeymapEngine() {
  clearKeymaps(engine);
}
