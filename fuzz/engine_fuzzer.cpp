// Drives the whole engine with a fuzzed keymap text and a fuzzed stream of
// key events, option changes, IME answers, keymap reloads, key-ups lost
// elsewhere and session unlocks, checking the engine's invariants after
// every step.
//
// Input: a 2-byte little-endian length L, L bytes of keymap text, then
// 6-byte steps.
#include <cstdlib>
#include <cstring>

#include "engine/engine_state.h"
#include "engine/key_event.h"
#include "fuzz/fuzz_support.h"
#include "keymap/keymap_compiler.h"

namespace {

constexpr uint32_t kMessages[] = {kMessageKeyDown,  kMessageKeyUp, kMessageSysKeyDown,
                                  kMessageSysKeyUp, 0x0,           0x102};

// Keys worth hitting often: the keypad, then the clear key, right arrow,
// Shift, Ctrl and the swapped keys.
constexpr uint8_t kOtherInterestingVks[] = {
    kVkBack,        kVkRight,   kVkShift,           kVkControl, kVkLeftShift,   kVkRightShift,
    kVkLeftControl, kVkCapital, kVkDbeAlphanumeric, kVkEscape,  kVkDbeSbcsChar, 'A'};
constexpr uint32_t kInterestingVkCount = kKeypadColumns + sizeof kOtherInterestingVks;

uint8_t interestingVk(uint32_t index) {
  return index < kKeypadColumns ? kKeypadVk[index] : kOtherInterestingVks[index - kKeypadColumns];
}

bool isSwapKey(uint32_t vk) {
  return vk == kVkControl || vk == kVkLeftControl || vk == kVkRightControl || vk == kVkCapital ||
         vk == kVkDbeAlphanumeric || vk == kVkEscape || vk == kVkDbeSbcsChar ||
         vk == kVkDbeDbcsChar;
}

// The entry the engine typed last is a kana (its letters are roman input).
bool lastEntryIsKana(const EngineState& engine) {
  const uint8_t* list = engine.activeCharList;
  if (list == nullptr || engine.charIndex < 0 || engine.charIndex >= charListCount(list)) {
    return false;
  }
  return (charEntryModifier(list, engine.charIndex) & 1) != 0;
}

// The system's key state: it holds every key the engine believes held, or,
// after key-ups went elsewhere, none.
struct FuzzKeyState final : SystemKeyState {
  bool nothingHeld = false;
  bool isKeyDown(uint8_t) override { return !nothingHeld; }
};

struct Harness {
  EngineState engine;
  TrackingKeyOutput output;
  FuzzIme ime;
  FuzzKeyState system;
  RecordingSink sink;
  MemoryKeymapPlatform platform;
  uint32_t time = 1000;
  // Keys whose last key-down the engine passed on to the system.
  bool passedDown[256] = {};
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  size_t textSize = static_cast<size_t>(data[0] | (data[1] << 8));
  if (textSize > size - 2) textSize = size - 2;
  const uint8_t* steps = data + 2 + textSize;
  const size_t stepBytes = size - 2 - textSize;

  static Harness* h = new Harness;  // reused: only its state is reset
  *h = Harness{};
  h->engine.keyOutput = &h->output;
  h->engine.imeControl = &h->ime;
  h->engine.systemKeys = &h->system;
  setEngineDefaults(h->engine);
  h->engine.mainWindow = &h->sink;
  h->platform.data = data + 2;
  h->platform.size = textSize;
  loadKeymapFile(h->engine, h->platform, "fuzz.txt");
  const bool rawPresent = keymapsHoldRawRecords(h->engine);
  const bool rawCapsLock = rawRecordsMention(h->engine, 0x14);

  for (size_t at = 0; at + 6 <= stepBytes; at += 6) {
    const uint8_t* s = steps + at;
    EngineState& engine = h->engine;
    h->ime.open = (s[3] & 1) != 0;
    h->ime.conversion = (s[3] & 2) ? ((s[3] & 0x10) ? 0x09 : 25) : 0;  // 0x09: kana input
    h->ime.composition = (s[3] & 4) ? 1 : 0;
    h->ime.answers = (s[3] & 8) == 0;
    h->system.nothingHeld = (s[3] & 0x20) != 0;
    // The key-ups went elsewhere: the engine may forget every held key.
    if (h->system.nothingHeld) std::memset(h->passedDown, 0, sizeof h->passedDown);
    switch (s[0] % 10) {
      case 8:  // the settings dialogs change the options and the timeout; the
               // screen turns and the CapsLock latch comes and goes
        engine.options = static_cast<uint32_t>(s[1] | (s[4] << 8));
        engine.screenRotated = (s[5] & 0x01) != 0;
        engine.capsLockPending = (s[5] & 0x08) != 0;
        engine.timeoutMs = static_cast<int8_t>(s[2]) * 16;
        selectModeKeymap(engine);
        break;
      case 9:  // the user reloads the keymap file, or unlocks the session
        if (s[1] & 2) {
          forgetHeldKeys(engine);
          std::memset(h->passedDown, 0, sizeof h->passedDown);
        } else if (s[1] & 1) {
          clearKeymaps(engine);
        } else {
          loadKeymapFile(engine, h->platform, "fuzz.txt");
        }
        break;
      default: {
        const uint32_t vk = (s[0] & 0x10) ? s[1] : interestingVk(s[1] % kInterestingVkCount);
        const uint32_t message = kMessages[s[5] % (sizeof kMessages / sizeof kMessages[0])];
        const bool own = (s[4] & 0x80) != 0;
        const bool asTyped = (s[4] & 0x40) != 0;  // typed into one of the program's own fields
        h->time += (s[2] & 0x80) ? 0xFFFFFF00u + s[2] : s[2] * 8u;  // jitter, even backwards
        std::memset(h->output.held, 0, sizeof h->output.held);
        h->output.letterWhileSwitched = false;
        const bool swallowed = handleKeyEvent(engine, {vk, message, h->time, own, asTyped});
        if (own && swallowed) std::abort();
        // The swaps replay a single press or release; everything else the
        // engine types must be released within the same event.
        if (!rawPresent && !isSwapKey(vk) && h->output.anyHeld()) std::abort();
        if (!own && vk <= 0xFF) {
          // A key whose down reached the system has its up passed too.
          if (isKeyRelease(message)) {
            if (h->passedDown[vk] && swallowed) std::abort();
            h->passedDown[vk] = false;
          } else if (isKeyPress(message) && !swallowed) {
            h->passedDown[vk] = true;
            if (vk == 0x14) h->output.capsLockSwitched = false;  // the user's own CapsLock
          }
        }
        // No CapsLock left on by the engine when a kana entry is typed.
        if (!rawCapsLock && h->output.letterWhileSwitched && lastEntryIsKana(engine)) std::abort();
        break;
      }
    }
    checkEngineInvariants(engine);
  }
  clearKeymaps(h->engine);
  return 0;
}
