#include "shell/rotation_requests.h"

namespace {

constexpr uintptr_t kSteps = 256;
// Turns posted and not yet carried out, by step; a burst of key presses may
// post several before the main window gets its turn.
uint8_t pending[kSteps] = {};

}  // namespace

void noteRotationRequest(uintptr_t step) {
  if (step >= kSteps) return;
  if (pending[step] < UINT8_MAX) ++pending[step];
}

bool takeRotationRequest(uintptr_t step) {
  if (step >= kSteps || pending[step] == 0) return false;
  --pending[step];
  return true;
}

void clearRotationRequests() {
  for (uint8_t& count : pending) count = 0;
}
