#include "shell/rotation.h"

#include "engine/engine_state.h"
#include "shell/display_orientation.h"
#include "shell/engine_lock.h"
#include "shell/key_hook.h"
#include "shell/shell_state.h"

void checkRotation() {
  EngineState& engine = shellState.engine;
  const uint32_t orientation = displayOrientation().readOrientation();
  {
    EngineLock lock;
    engine.screenRotated = (orientation & 1) != 0;
    selectModeKeymap(engine);
  }
  // The hook is installed and removed on its own thread, without the lock.
  if (rotationBehaviour(engine.options) != kRotationReleaseHook) return;
  if (engine.screenRotated) {
    removeKeyHook();
  } else {
    installKeyHook(false);
  }
}

bool keyHookWanted(const EngineState& engine) {
  return rotationBehaviour(engine.options) != kRotationReleaseHook || !engine.screenRotated;
}

void restoreKeyHookIfWanted() {
  if (keyHookInstalled()) return;
  if (!keyHookWanted(shellState.engine)) return;
  installKeyHook(false);
}

void rotateScreen(int step) {
  uint32_t orientation;
  if (step >= 0 && step <= 3) {
    orientation = (1u << step) >> 1;
  } else {
    orientation = displayOrientation().readOrientation() * 2;
    if (orientation == 0) orientation = kOrientation90;
    orientation &= 7;
  }
  displayOrientation().setOrientation(orientation & 7);
}
