// The keys of the live screen: what a character typed on a terminal (or an
// escape sequence) is on the device, and pressing it there. Every key reaches
// the engine: digits, * and # as the keypad, the others as the unmapped keys
// they are on a device (they end a toggle there too) and from there the IME.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "sim/device/sim_device.h"

// One key of the device, pressed with Shift where its layout needs it.
struct LiveKey {
  uint8_t vk = 0;
  bool shift = false;
};

enum class LiveInputKind {
  kKey,        // press and release `key`
  kSwitchIme,  // Tab: the user's IME key
  kQuit,       // Ctrl-D or Ctrl-C
};

struct LiveInput {
  LiveInputKind kind = LiveInputKind::kKey;
  LiveKey key;
};

// The key a terminal character stands for: digits, * and # the keypad,
// Backspace the clear key, Enter, space, letters and the symbols of the
// device keyboard's layout. vk 0 for characters no key types.
LiveKey liveKeyFor(char c, SimLayout layout = SimLayout::kUs);

// What one read from the terminal holds. An escape sequence arrives in one
// read (arrows, Home, End, Insert, Delete, Page Up/Down); an Esc that no
// sequence follows is the Esc key, and a character after it stays a key.
std::vector<LiveInput> decodeTerminalInput(const std::string& bytes,
                                           SimLayout layout = SimLayout::kUs);

// Carries one input out on the device; false for kQuit.
bool applyLiveInput(SimDevice& device, const LiveInput& input);
