#include "fcitx5/input_context_output.h"

#include <fcitx-utils/key.h>
#include <fcitx/event.h>
#include <fcitx/inputcontext.h>

void InputContextKeyOutput::deliver(fcitx::InputContext& ic, uint32_t userLockStates, int time) {
  if (queued_.empty()) return;
  sending_.swap(queued_);
  queued_.clear();
  delivering_ = true;
  // An input method may let the context go while it handles a key.
  const auto context = ic.watch();
  for (const QueuedKey& queued : sending_) {
    if (!context.isValid()) break;
    SyntheticKey synthetic;
    if (!synthesizeKey(keyboard_, queued.vk, queued.down, userLockStates, synthetic)) continue;
    const fcitx::Key key(static_cast<fcitx::KeySym>(synthetic.symbol),
                         fcitx::KeyStates(synthetic.states), synthetic.code);
    fcitx::KeyEvent event(&ic, key, !queued.down, time);
    // What neither an add-on nor the input method takes reaches the
    // application, as the user's own unhandled keys do.
    if (!ic.keyEvent(event)) ic.forwardKey(key, !queued.down, time);
  }
  delivering_ = false;
  sending_.clear();
}
