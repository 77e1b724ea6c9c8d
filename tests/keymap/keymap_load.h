// Loads keymap text into a fresh engine and hands back the messages and the
// installed images.
//
// How to write a test here: compile inline keymap text with load() and
// assert the messages byte for byte, or the image bytes. What a compiled
// keymap types belongs in tests/sim, as text.
#pragma once

#include <string>
#include <vector>

#include "engine/engine_state.h"
#include "keymap/host_keymap_platform.h"
#include "keymap/keymap_compiler.h"
#include "tests/support/image_builder.h"

struct KeymapLoad {
  EngineState engine;
  HostKeymapPlatform platform;

  KeymapLoad() { setEngineDefaults(engine); }
  ~KeymapLoad() { clearKeymaps(engine); }

  // Compiles `text` (a whole load) and returns the messages it showed.
  std::vector<std::string> load(const std::string& text) {
    platform.clearMessages();
    loadKeymapText(engine, platform, text);
    return platform.messages();
  }

  // Every message of the last load, shown or not, marked "(kept back)" when
  // the program did not show it.
  std::vector<std::string> noted() const {
    std::vector<std::string> texts;
    for (const KeymapDiagnostic& d : platform.diagnostics()) {
      texts.push_back(d.shown ? d.text : d.text + " (kept back)");
    }
    return texts;
  }

  bool filled(int slot) const { return engine.keymaps[slot].bytes != nullptr; }

  // The used bytes of a slot's image (empty for an empty slot).
  Bytes image(int slot) const {
    const KeymapImage& image = engine.keymaps[slot];
    if (image.bytes == nullptr) return {};
    return Bytes(image.bytes, image.bytes + image.size);
  }

  std::vector<int> filledSlots() const {
    std::vector<int> slots;
    for (int slot = 0; slot < kKeymapSlots; ++slot) {
      if (filled(slot)) slots.push_back(slot);
    }
    return slots;
  }
};

// `count` lines "key '\x02'" each followed by `body` (which ends in a newline
// or is empty).
inline std::string keys(int count, const std::string& body = "",
                        const std::string& type = "'\\x02'") {
  std::string text;
  for (int i = 0; i < count; ++i) text += "key " + type + "\n" + body;
  return text;
}

// A complete keymap of twelve toggle keys with no actions.
inline std::string emptyKeymap(int number) {
  return "keymap '\\x0" + std::to_string(number) + "'\n" + keys(12);
}
