#include "shell/rotation_requests.h"

#include <atomic>

namespace {

constexpr uintptr_t kSteps = 256;
// Turns posted and not yet carried out, by step; a burst of key presses may
// post several before the main window gets its turn. The hook thread notes
// them and the UI thread takes them.
std::atomic<uint8_t> pending[kSteps] = {};

}  // namespace

void noteRotationRequest(uintptr_t step) {
  if (step >= kSteps) return;
  uint8_t count = pending[step].load();
  while (count < UINT8_MAX && !pending[step].compare_exchange_weak(count, count + 1)) {
  }
}

bool takeRotationRequest(uintptr_t step) {
  if (step >= kSteps) return false;
  uint8_t count = pending[step].load();
  while (count > 0) {
    if (pending[step].compare_exchange_weak(count, count - 1)) return true;
  }
  return false;
}

void clearRotationRequests() {
  for (std::atomic<uint8_t>& count : pending) count.store(0);
}
