#include "shell/engine_lock.h"

#include <windows.h>

#include "shell/win32_key_output.h"

namespace {

// Made before main runs and never destroyed: the lock outlives every thread
// that takes it.
struct EngineSection {
  CRITICAL_SECTION section;
  EngineSection() { InitializeCriticalSection(&section); }
};

CRITICAL_SECTION& engineSection() {
  static EngineSection* section = new EngineSection();
  return section->section;
}

}  // namespace

EngineLock::EngineLock() {
  EnterCriticalSection(&engineSection());
}

EngineLock::~EngineLock() {
  KeyBatch keys;
  takeQueuedKeys(keys);
  LeaveCriticalSection(&engineSection());
  sendKeyBatch(keys);
}
