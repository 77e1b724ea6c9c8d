#include "engine/key_event.h"

#include "engine/keypad_dispatcher.h"

namespace {

struct SwapRow {
  uint8_t incoming;
  uint32_t option;
  uint8_t injected;
};

// Ctrl turns into the alphanumeric key, while both CapsLock and the
// alphanumeric key turn into Ctrl.
constexpr SwapRow kSwapTable[] = {
    {kVkControl, kOptionSwapCtrlCaps, kVkDbeAlphanumeric},
#ifndef _WIN32_WCE
    {kVkLeftControl, kOptionSwapCtrlCaps, kVkDbeAlphanumeric},
    {kVkRightControl, kOptionSwapCtrlCaps, kVkDbeAlphanumeric},
#endif
    {kVkCapital, kOptionSwapCtrlCaps, kVkControl},
    {kVkDbeAlphanumeric, kOptionSwapCtrlCaps, kVkControl},
    {kVkEscape, kOptionSwapEscHankaku, kVkDbeSbcsChar},
    {kVkDbeSbcsChar, kOptionSwapEscHankaku, kVkEscape},
#ifndef _WIN32_WCE
    {kVkDbeDbcsChar, kOptionSwapEscHankaku, kVkEscape},
#endif
};

#ifdef _WIN32_WCE
constexpr KeySet kShiftKeys = keySetOf({kVkShift});
constexpr KeySet kCtrlKeys = keySetOf({kVkControl});
constexpr KeySet kAltKeys = {};
constexpr KeySet kWinKeys = {};
#else
constexpr KeySet kShiftKeys = keySetOf({kVkShift, kVkLeftShift, kVkRightShift});
constexpr KeySet kCtrlKeys = keySetOf({kVkControl, kVkLeftControl, kVkRightControl});
constexpr KeySet kAltKeys = keySetOf({kVkMenu, kVkLeftMenu, kVkRightMenu});
constexpr KeySet kWinKeys = keySetOf({kVkLeftWin, kVkRightWin});
#endif

constexpr KeySet swappedKeys() {
  KeySet keys;
  for (const SwapRow& row : kSwapTable) keys.words[row.incoming >> 5] |= 1u << (row.incoming & 31);
  return keys;
}

// The keys that a swap replaces with `vk`.
constexpr KeySet keysSwappedTo(uint8_t vk) {
  KeySet keys;
  for (const SwapRow& row : kSwapTable) {
    if (row.injected == vk) keys.words[row.incoming >> 5] |= 1u << (row.incoming & 31);
  }
  return keys;
}

constexpr KeySet kSwappedKeys = swappedKeys();
constexpr KeySet kKeysSwappedToCtrl = keysSwappedTo(kVkControl);

// The keys whose events can change which modifiers the system holds.
constexpr KeySet kModifierKeys =
    keySetUnion(keySetUnion(keySetUnion(kShiftKeys, kCtrlKeys), kKeysSwappedToCtrl),
                keySetUnion(kAltKeys, kWinKeys));

// Shift, Ctrl and Alt alone change nothing on the screen.
constexpr KeySet kBareModifiers =
    keySetOf({kVkShift, kVkControl, kVkMenu, kVkLeftShift, kVkRightShift, kVkLeftControl,
              kVkRightControl, kVkLeftMenu, kVkRightMenu});

// Keys that may be swapped, tracked as modifiers or spared as bare
// modifiers; every other key takes the short way while no input mode is on.
constexpr KeySet kKeysNeedingCare =
    keySetUnion(keySetUnion(kSwappedKeys, kModifierKeys), kBareModifiers);

const SwapRow* swapRowOf(uint32_t vk) {
  if (vk > 0xFF || !keySetHas(kSwappedKeys, static_cast<uint8_t>(vk))) return nullptr;
  for (const SwapRow& row : kSwapTable) {
    if (row.incoming == vk) return &row;
  }
  return nullptr;
}

// Releases the replacement that a swap put down for `vk`, if it did; true
// when it did.
bool releaseSwappedKey(EngineState& engine, uint8_t vk) {
  if (!keySetHas(engine.swappedDowns, vk)) return false;
  keySetRemove(engine.swappedDowns, vk);
  sendKeyUp(engine, swapRowOf(vk)->injected);
  return true;
}

bool inputModeOn(const EngineState& engine) {
  return (engine.options & (kOptionKanaToggle | kOptionTwoTouch)) != 0;
}

// A key-down reached the system as `vk`. Unless it is a bare modifier, the
// text before the cursor may have changed, so a mark key must not rewrite
// (and erase) what now stands there as if it were the kana typed last. The
// user's own CapsLock makes its state the user's again.
void keyDownReachedSystem(EngineState& engine, uint8_t vk) {
  if (!keySetHas(kBareModifiers, vk)) engine.lastKana = 0;
  if (vk == kVkCapital) engine.capsLockByEngine = false;
}

// Sets heldModifiers from the keys the system holds down: the Shift, Ctrl,
// Alt and Win keys passed to it, and the keys a swap turned into Ctrl.
void trackModifiers(EngineState& engine) {
  uint32_t held = 0;
  if (keySetsMeet(engine.passedDowns, kShiftKeys)) held |= kHeldShift;
  // With the Ctrl/CapsLock swap the key that arrives as Ctrl is the one
  // that counts, not the Ctrl key itself.
  if (keySetsMeet(engine.passedDowns, kCtrlKeys) ||
      keySetsMeet(engine.swappedDowns, kKeysSwappedToCtrl)) {
    held |= kHeldCtrl;
  }
  if (keySetsMeet(engine.passedDowns, kAltKeys)) held |= kHeldAlt;
  if (keySetsMeet(engine.passedDowns, kWinKeys)) held |= kHeldWin;
  engine.heldModifiers = held;
}

// Drops from the records of held keys every key the system no longer holds:
// its key-up went where the hook never saw it. A swapped key counts as held
// while the system holds its replacement. Usually nothing or a modifier or
// two is held, so only the set bits are looked at.
void reconcileHeldKeys(EngineState& engine) {
  SystemKeyState* system = engine.systemKeys;
  if (system == nullptr) return;
  bool forgot = false;
  for (int word = 0; word < 8; ++word) {
    const uint32_t passed = engine.passedDowns.words[word];
    const uint32_t swapped = engine.swappedDowns.words[word];
    const uint32_t held = passed | swapped;
    for (int bit = 0; bit < 32 && (held >> bit) != 0; ++bit) {
      const auto vk = static_cast<uint8_t>(word * 32 + bit);
      if (((passed >> bit) & 1u) && !system->isKeyDown(vk)) {
        keySetRemove(engine.passedDowns, vk);
        forgot = true;
      }
      if (((swapped >> bit) & 1u) && !system->isKeyDown(swapRowOf(vk)->injected)) {
        keySetRemove(engine.swappedDowns, vk);
        forgot = true;
      }
    }
  }
  if (forgot) trackModifiers(engine);
}

// Injects vk in the direction of `message`; true if something was injected.
bool replayKeyAs(EngineState& engine, uint8_t vk, uint32_t message) {
  switch (message) {
    case kMessageKeyDown:
    case kMessageSysKeyDown:
      sendKeyDown(engine, vk);
      return true;
    case kMessageKeyUp:
    case kMessageSysKeyUp:
      sendKeyUp(engine, vk);
      return true;
    default:
      return false;
  }
}

// Replaces a swapped key with its partner; true = replaced (swallow).
bool applyKeySwaps(EngineState& engine, const IncomingKeyEvent& event) {
  const SwapRow* row = swapRowOf(event.vk);
  if (row == nullptr) return false;
  if (isKeyRelease(event.message) && releaseSwappedKey(engine, row->incoming)) return true;
  if ((engine.options & row->option) == 0) return false;
  if (!replayKeyAs(engine, row->injected, event.message)) return false;
  if (isKeyPress(event.message)) keySetAdd(engine.swappedDowns, row->incoming);
  return true;
}

}  // namespace

bool handleKeyEvent(EngineState& engine, const IncomingKeyEvent& event) {
  if (event.own) return false;
  // The hook hands a 32-bit value; only 0-255 are keys the tables know.
  if (event.vk > 0xFF) return false;
  const auto vk = static_cast<uint8_t>(event.vk);
  engine.backspacesInEvent = 0;
  if (!inputModeOn(engine) && !keySetHas(kKeysNeedingCare, vk)) {
    // Ordinary typing: the key reaches the system as it is.
    if (isKeyPress(event.message)) {
      keySetAdd(engine.passedDowns, vk);
      engine.lastKana = 0;
    } else if (isKeyRelease(event.message)) {
      keySetRemove(engine.passedDowns, vk);
    }
    return false;
  }
  // Before a keypad key acts, the records of held modifiers must be what the
  // system holds: a Shift whose key-up went elsewhere would leave the keypad
  // to the system for ever.
  if (inputModeOn(engine) && isKeyPress(event.message) && engine.vkMap[vk] != 0) {
    reconcileHeldKeys(engine);
  }
  // A key the system holds down gets its key-up, whatever the engine would
  // make of the release now; otherwise the key would stay down and repeat.
  const bool systemHoldsKey = isKeyRelease(event.message) && keySetHas(engine.passedDowns, vk);

  bool swallow = inputModeOn(engine) && dispatchKeypadEvent(engine, event);
  bool swapped = false;
  if (systemHoldsKey) {
    // A swap may have put down a replacement for an earlier press as well.
    releaseSwappedKey(engine, vk);
    keySetRemove(engine.passedDowns, vk);
    swallow = false;
  } else if (!swallow) {
    swallow = swapped = applyKeySwaps(engine, event);
    if (isKeyPress(event.message) && !swallow) keySetAdd(engine.passedDowns, vk);
  }
  if (keySetHas(kModifierKeys, vk)) trackModifiers(engine);
  if (isKeyPress(event.message) && (!swallow || swapped)) {
    keyDownReachedSystem(engine, swapped ? swapRowOf(vk)->injected : vk);
  }
  return swallow;
}

void forgetHeldKeys(EngineState& engine) {
  for (int vk = 0; vk < 256; ++vk) releaseSwappedKey(engine, static_cast<uint8_t>(vk));
  engine.passedDowns = KeySet{};
  engine.swappedDowns = KeySet{};
  engine.heldModifiers = 0;
  resetInputState(engine);
  engine.lastKana = 0;
}
