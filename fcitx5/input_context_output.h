// The engine's injected keys as synthetic key events of the input context
// whose key event is being handled. They wait until the engine has answered
// (as injected events wait behind the hook on Windows), then go through
// fcitx5's key event pipeline, mozc included; a key that nothing there takes
// goes on to the application. The add-on's watcher lets them pass unseen.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/platform.h"
#include "fcitx5/key_translation.h"

namespace fcitx {
class InputContext;
}  // namespace fcitx

class InputContextKeyOutput final : public KeyOutput {
 public:
  InputContextKeyOutput() { queued_.reserve(64); }

  void sendKeyDown(uint8_t vk) override { queued_.push_back({vk, true}); }
  void sendKeyUp(uint8_t vk) override { queued_.push_back({vk, false}); }

  // Sends the queued keys to `ic` with the time and the lock states of the
  // user's key event.
  void deliver(fcitx::InputContext& ic, uint32_t userLockStates, int time);
  // Drops the queued keys (no input context to take them).
  void discard() { queued_.clear(); }
  // True while the add-on's own key events are on their way.
  bool delivering() const { return delivering_; }

 private:
  struct QueuedKey {
    uint8_t vk;
    bool down;
  };
  std::vector<QueuedKey> queued_;
  std::vector<QueuedKey> sending_;
  SyntheticKeyboard keyboard_;
  bool delivering_ = false;
};
