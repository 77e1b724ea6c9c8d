#include "engine/keypad_dispatcher.h"

// Until the keypad logic lands every event passes on to the swaps.
bool dispatchKeypadEvent(EngineState&, uint32_t, uint32_t, uint32_t, uint32_t) {
  return false;
}
