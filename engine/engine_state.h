// The key engine's single state record and the small state operations that
// the engine parts and the shell share.
#pragma once

#include <cstdint>

#include "engine/key_set.h"
#include "engine/keymap_image.h"
#include "engine/platform.h"

// Option bits of EngineState::options. Their labels, controls and storage
// are the options table's (engine/option_table.h).
enum OptionBits : uint32_t {
  kOptionSwapCtrlCaps = 0x1,           // swap Ctrl and CapsLock
  kOptionSwapEscHankaku = 0x2,         // swap Esc and the half/full-width key
  kOptionTwoTouch = 0x8,               // input mode 2-touch
  kOptionNicoTouch = 0x10,             // 2-touch uses slot 2
  kOptionImeControl = 0x20,            // IME control around direct characters
  kOptionKanaToggle = 0x40,            // input mode kana toggle
  kOptionAutoAdvance = 0x80,           // a toggle expires after timeoutMs
  kOptionAutoCapsLock = 0x100,         // the auto-CapsLock latch
  kOptionAdvanceAfterStep = 0x200,     // ... also after post-conversion and reverse steps
  kOptionRotationMask = 0x1800,        // rotation behaviour 0-3
  kOptionClearCancelsStroke = 0x4000,  // the clear key cancels a first stroke
  kOptionNumericKeypad = 0x8000,       // the numeric keypad is the keypad (desktop)
};

constexpr int kOptionRotationShift = 11;
constexpr uint32_t kDefaultOptions = kOptionAutoCapsLock | kOptionClearCancelsStroke;  // 0x4100
// Bits 16-23 of the stored "Flag" word are never saved or loaded: they held
// run-time state (0x10000 the screen turned, 0x80000 CapsLock pending), which
// now has fields of its own (EngineState::screenRotated, capsLockPending).
constexpr uint32_t kStoredOptionsMask = 0xFF00FFFF;
constexpr int32_t kDefaultTimeoutMs = 1000;

// Rotation behaviours (bits 11-12 of options).
enum RotationBehaviour : uint32_t {
  kRotationUseKeymap6 = 0,
  kRotationReleaseHook = 1,
  kRotationStandardKana = 2,
  kRotationDoNothing = 3,
};

inline uint32_t rotationBehaviour(uint32_t options) {
  return (options & kOptionRotationMask) >> kOptionRotationShift;
}

// The option bits of a rotation behaviour.
constexpr uint32_t rotationBehaviourBits(uint32_t behaviour) {
  return (behaviour << kOptionRotationShift) & kOptionRotationMask;
}

constexpr int kKeymapSlots = 10;

// The slots the program selects by itself, by what they hold (the default
// keymap's symbols in the comments). The others serve commands 1 and 4.
constexpr int32_t kSlotTwoTouch = 0;      // MAP_PAGER: 2タッチ(ポケベル)入力
constexpr int32_t kSlotNicoTouch = 2;     // MAP_NICO: 2-touch with "ニコタッチ風"
constexpr int32_t kSlotKana = 4;          // MAP_KANA: kana toggle, IME open in kana mode
constexpr int32_t kSlotAlphanumeric = 5;  // MAP_ALNUM: kana toggle, IME closed or not kana
constexpr int32_t kSlotRotated = 6;       // MAP_ROTATED: the screen turned (behaviour 0)
// activeKeymap with no keymap: every key event passes.
constexpr int32_t kNoKeymap = 256;

// The other slot of a pair (0-1, 2-3, 4-5, 6-7, 8-9), as command 1 selects.
constexpr int32_t partnerSlot(int32_t slot) {
  return slot ^ 1;
}

// The keypad's keys in column order, as printed on them, and their virtual
// keys (* and # are F8 and F9).
constexpr char kKeypadKeys[kKeypadColumns + 1] = "123456789*0#";
constexpr uint8_t kKeypadVk[kKeypadColumns] = {0x31, 0x32, 0x33, 0x34, 0x35, 0x36,
                                               0x37, 0x38, 0x39, 0x77, 0x30, 0x78};
// The numeric keypad of a desktop keyboard in the same column order: the
// digits by their labels, * for *, and the decimal key, which sits right of 0
// where a phone keypad has #, for #.
constexpr uint8_t kNumericKeypadVk[kKeypadColumns] = {0x61, 0x62, 0x63, 0x64, 0x65, 0x66,
                                                      0x67, 0x68, 0x69, 0x6A, 0x60, 0x6E};
// vkMap value of keypad column 0; column c is kVkMapColumnBase + c.
constexpr uint16_t kVkMapColumnBase = 257;
// toggleKey and firstStroke store a column as column + 16, so 0 means none.
constexpr int32_t kColumnMarker = 16;

// The toggleKey / firstStroke value of a keypad column, and the column of one.
constexpr int32_t keyCodeOf(int column) {
  return column + kColumnMarker;
}
constexpr int columnOf(int32_t keyCode) {
  return keyCode & 0xF;
}

// heldModifiers bits: the modifiers the system holds, as far as the engine
// saw them go by. Alt and Win are kept on desktop only, where Win+digit,
// Alt+digit and Alt codes on the numeric keypad are the system's.
enum HeldModifierBits : uint32_t {
  kHeldShift = 0x1,
  kHeldCtrl = 0x2,
  kHeldAlt = 0x4,
  kHeldWin = 0x8,
};

// imeStatus bits: what the IME answered when it was last asked, for the
// engine and for the shell's labels.
enum ImeStatusBits : uint32_t {
  kImeStatusOpen = 0x1,  // the IME is open
  // Open in a kana conversion mode without roman input (かな入力): the IME
  // takes the keys as kana keys, so roman letters would make wrong kana. On
  // desktop the keypad is then left to the system (see the dispatcher).
  kImeStatusKanaInput = 0x10,
  // The last question went unanswered (no IME window, a hung application):
  // the other bits are what was known before.
  kImeStatusUnanswered = 0x20,
};

struct EngineState {
  // The settings' option bits (OptionBits); no run-time state.
  uint32_t options = 0;
  int32_t firstStroke = 0;
  int32_t charIndex = 0;
  int32_t toggleIndex = 0;
  int32_t toggleKey = 0;
  uint32_t lastKeyTime = 0;
  int32_t timeoutMs = 0;
  uint32_t heldModifiers = 0;
  int32_t activeKeymap = 0;
  // Record (kind byte) of the char list typed last, inside a live image.
  const uint8_t* activeCharList = nullptr;
  // Slot used for the event being handled; points into `keymaps`.
  const KeymapImage* currentKeymap = nullptr;
  KeymapImage keymaps[kKeymapSlots] = {};
  uint16_t vkMap[256] = {};
  uint32_t imeStatus = 0;
  // The IME's conversion mode (IME_CMODE_* bits) when it was last asked.
  uint32_t imeConversion = 0;
  uint32_t lastKana = 0;
  WindowCommandSink* mainWindow = nullptr;

  // Keys whose key-down reached the system and whose key-up has not come
  // yet: the system holds them down, so their key-up must reach it too.
  KeySet passedDowns;
  // Swapped keys whose replacement is down: their key-up releases the
  // replacement, whatever the swap options say by then.
  KeySet swappedDowns;
  // The running toggle's candidate left text before the cursor, which the
  // next toggle step's back-space erases. A candidate that typed nothing
  // (nop, a command, exec, raw without a key press, a character the layout
  // cannot type) gets no back-space: the text before it is the user's.
  bool candidateTyped = false;
  // The same for the active char list's entry at charIndex, which
  // post-conversion erases.
  bool entryTyped = false;
  // Back-spaces sent while handling the current key event. The IME sees them
  // only after the hook has returned, so what it composes now still holds
  // the characters they will erase.
  uint32_t backspacesInEvent = 0;
  // The auto-CapsLock latch: the next char entry typed is preceded by a
  // CapsLock tap (set by closeActiveCharList, consumed by typeCharEntry).
  bool capsLockPending = false;
  // The auto-CapsLock latch's taps have switched CapsLock over since the
  // user last pressed the key: CapsLock is on by the engine's doing.
  bool capsLockByEngine = false;
  // Characters passed over because the layout the keys go to has no key for
  // them (or only one with Ctrl or Alt): how many since the start, and the
  // last one, for the shell to show.
  uint32_t untypableCount = 0;
  char16_t lastUntypable = 0;
  // The screen is turned (an odd orientation); kept by the shell's rotation
  // handling, read by selectModeKeymap and the dispatcher.
  bool screenRotated = false;

  // Platform connections, set by whoever owns the engine. Without
  // systemKeys the records of held keys are trusted as they are; without
  // keyboardLayout keys are typed as on a US layout.
  KeyOutput* keyOutput = nullptr;
  ImeControl* imeControl = nullptr;
  SystemKeyState* systemKeys = nullptr;
  KeyboardLayout* keyboardLayout = nullptr;
};

// Fills every field with its default; releases nothing (fresh state only).
// The platform connections are kept.
void setEngineDefaults(EngineState& engine);

// Releases every image, empties the slots, clears currentKeymap and restores
// the default vkMap (for the keypad keys that selectKeypadKeys chooses). An
// active char list inside a released image is ended without the CapsLock
// latch.
void clearKeymaps(EngineState& engine);

// Makes vkMap the default map for the keypad keys the options choose: the
// digit row with F8 and F9, or with option 0x8000 (desktop only; the device's
// keypad sends the digit keys) the numeric keypad, leaving the other keys to
// the system.
void selectKeypadKeys(EngineState& engine);

// Adopts `bytes` (an image of `size` used bytes from allocateKeymapImage) into
// a slot, releasing the image there. A slot above 9 or an image that fails
// isValidKeymapImage is not adopted: the block is released and nothing else
// changes.
void installKeymap(EngineState& engine, uint32_t slot, uint8_t* bytes, uint32_t size);

// activeKeymap = slot (no range check), then resetInputState.
void selectKeymap(EngineState& engine, int32_t slot);

// Ends the active char list: the auto-CapsLock latch, then no list.
void closeActiveCharList(EngineState& engine);

// closeActiveCharList, toggleKey = 0, firstStroke = 0.
void resetInputState(EngineState& engine);

// Chooses activeKeymap from the input mode, the rotation and the options.
void selectModeKeymap(EngineState& engine);

// The image of activeKeymap, or nullptr when it is outside 0-9 or empty.
const KeymapImage* activeKeymapImage(const EngineState& engine);
