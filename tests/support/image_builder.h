// Builds keymap images by hand in tests, in the engine's byte layout.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "engine/engine_state.h"

using Bytes = std::vector<uint8_t>;

// Action records.
Bytes nopAction();
Bytes charAction(std::initializer_list<std::pair<uint8_t, uint8_t>> entries);
Bytes commandAction(uint8_t number, uint8_t parameter);
Bytes rawAction(const Bytes& bytes);
Bytes execAction(const std::string& path, const std::string& arguments);

struct TestKey {
  uint16_t type = 0;
  std::vector<Bytes> actions;
};

struct TestKeymap {
  std::vector<Bytes> leadingActions;  // defined before the first key: no key refers to them
  TestKey keys[kKeypadColumns];
};

// The image bytes (without the spare bytes).
Bytes buildImageBytes(const TestKeymap& keymap);

// Installs a freshly allocated copy of the keymap in a slot.
void installTestKeymap(EngineState& engine, uint32_t slot, const TestKeymap& keymap);

// Copies raw bytes into an allocated block (for images built byte by byte).
uint8_t* copyToImageBlock(const Bytes& bytes);
