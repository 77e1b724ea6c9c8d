// Platform stand-ins and invariant checks shared by the fuzz harnesses.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/engine_state.h"
#include "keymap/keymap_platform.h"

// Serves one in-memory buffer as the keymap file and counts the messages.
struct MemoryKeymapPlatform final : KeymapPlatform {
  const uint8_t* data = nullptr;
  size_t size = 0;
  int messages = 0;

  bool openKeymapFile(const std::string& path, uint32_t& fileSize) override;
  bool readKeymapFile(uint8_t* buffer, uint32_t bufferSize) override;
  void closeKeymapFile() override {}
  void showKeymapMessage(const std::string& text) override;
};

// Counts how often each key is held down by the injected events, and
// follows the CapsLock taps among them.
struct TrackingKeyOutput final : KeyOutput {
  int held[256] = {};
  unsigned long events = 0;
  // The injected CapsLock taps have switched CapsLock over since the user
  // last pressed it.
  bool capsLockSwitched = false;
  // A letter went out while CapsLock was switched (cleared per event).
  bool letterWhileSwitched = false;
  void sendKeyDown(uint8_t vk) override;
  void sendKeyUp(uint8_t vk) override;
  bool anyHeld() const;
};

struct FuzzIme final : ImeControl {
  bool open = false;
  uint32_t conversion = 0;
  uint32_t composition = 0;
  // The fuzz input can make the IME stop answering.
  bool answers = true;
  ImeAnswer openStatus() override { return answers ? imeAnswered(open ? 1 : 0) : kImeUnanswered; }
  ImeAnswer conversionStatus() override {
    return answers ? imeAnswered(conversion) : kImeUnanswered;
  }
  void setOpen(bool value) override { open = value; }
  void setConversionMode(uint32_t value, uint32_t) override { conversion = value; }
  uint32_t compositionLength() override { return composition; }
};

// Accepts the engine's window commands and drops them.
struct RecordingSink final : WindowCommandSink {
  unsigned long posted = 0;
  void postWindowCommand(uint32_t, uintptr_t) override { ++posted; }
};

// Aborts (so the fuzzer reports the input) when one of the engine's
// invariants (tests/support/engine_invariants.h) is broken.
void checkEngineInvariants(const EngineState& engine);

// True when a slot's image holds a raw record, whose key presses may
// legitimately stay down.
bool keymapsHoldRawRecords(const EngineState& engine);

// True when the key bytes of a raw record in some slot include `vk`: the
// keymap may then press that key itself.
bool rawRecordsMention(const EngineState& engine, uint8_t vk);
