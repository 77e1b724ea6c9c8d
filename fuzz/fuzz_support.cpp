#include "fuzz/fuzz_support.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

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

namespace {

[[noreturn]] void fail(const char* what) {
  std::fprintf(stderr, "engine invariant broken: %s\n", what);
  std::abort();
}

bool isColumnMarker(int32_t value) {
  return value == 0 || (value >= keyCodeOf(0) && value < keyCodeOf(kKeypadColumns));
}

}  // namespace

void checkEngineInvariants(const EngineState& engine) {
  if (!isColumnMarker(engine.toggleKey)) fail("toggleKey out of range");
  if (!isColumnMarker(engine.firstStroke)) fail("firstStroke out of range");
  if (engine.activeCharList != nullptr) {
    bool live = false;
    for (const KeymapImage& image : engine.keymaps) {
      if (isInsideImage(image, engine.activeCharList)) live = true;
    }
    if (!live) fail("activeCharList outside every live image");
    if (actionKind(engine.activeCharList) != kActionChar) fail("activeCharList is not a char list");
    if (engine.charIndex < 0 || engine.charIndex >= charListCount(engine.activeCharList)) {
      fail("charIndex outside the active list");
    }
  } else if (engine.charIndex != 0) {
    fail("charIndex without a list");
  }
  if (engine.currentKeymap != nullptr && (engine.currentKeymap < engine.keymaps ||
                                          engine.currentKeymap >= engine.keymaps + kKeymapSlots)) {
    fail("currentKeymap is not a slot");
  }
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
