#include "fuzz/fuzz_support.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "tests/support/engine_invariants.h"

bool MemoryKeymapPlatform::openKeymapFile(const std::string&, uint32_t& fileSize) {
  fileSize = static_cast<uint32_t>(size);
  return true;
}

bool MemoryKeymapPlatform::readKeymapFile(uint8_t* buffer, uint32_t bufferSize) {
  if (bufferSize > size) return false;
  if (bufferSize != 0) std::memcpy(buffer, data, bufferSize);
  return true;
}

void MemoryKeymapPlatform::showKeymapMessage(const std::string& text) {
  ++messages;
  if (text.size() > 600) {
    std::fprintf(stderr, "over-long keymap message (%zu bytes)\n", text.size());
    std::abort();
  }
}

void TrackingKeyOutput::sendKeyDown(uint8_t vk) {
  ++held[vk];
  ++events;
  if (vk == 0x14) capsLockSwitched = !capsLockSwitched;
  if (vk >= 'A' && vk <= 'Z' && capsLockSwitched) letterWhileSwitched = true;
}

void TrackingKeyOutput::sendKeyUp(uint8_t vk) {
  --held[vk];
  ++events;
}

bool TrackingKeyOutput::anyHeld() const {
  for (int count : held) {
    if (count > 0) return true;
  }
  return false;
}

void checkEngineInvariants(const EngineState& engine) {
  const std::string broken = brokenEngineInvariant(engine);
  if (broken.empty()) return;
  std::fprintf(stderr, "engine invariant broken: %s\n", broken.c_str());
  std::abort();
}

bool keymapsHoldRawRecords(const EngineState& engine) {
  for (const KeymapImage& image : engine.keymaps) {
    const uint32_t count = actionTableCount(image);
    for (uint32_t i = 0; i < count; ++i) {
      if (actionKind(actionRecordAt(image, i)) == kActionRaw) return true;
    }
  }
  return false;
}

bool rawRecordsMention(const EngineState& engine, uint8_t vk) {
  for (const KeymapImage& image : engine.keymaps) {
    const uint32_t count = actionTableCount(image);
    for (uint32_t i = 0; i < count; ++i) {
      const uint8_t* record = actionRecordAt(image, i);
      if (actionKind(record) != kActionRaw) continue;
      for (uint32_t j = 0; j < rawByteCount(record); ++j) {
        if (rawBytes(record)[j] == vk) return true;
      }
    }
  }
  return false;
}
