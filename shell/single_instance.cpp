#include "shell/single_instance.h"

#ifndef _WIN32_WCE

namespace {

HANDLE instanceMutex = nullptr;

}  // namespace

bool claimSingleInstance() {
  if (instanceMutex != nullptr) return true;
  HANDLE mutex = CreateMutexW(nullptr, FALSE, kInstanceMutexName);
  if (mutex == nullptr) return true;  // no mutex to be had: the window rule alone
  if (GetLastError() == ERROR_ALREADY_EXISTS) {
    CloseHandle(mutex);
    return false;
  }
  instanceMutex = mutex;
  return true;
}

bool otherInstanceStarting() {
  if (instanceMutex != nullptr) return false;
  HANDLE mutex = OpenMutexW(SYNCHRONIZE, FALSE, kInstanceMutexName);
  if (mutex == nullptr) return false;
  CloseHandle(mutex);
  return true;
}

HWND waitForRunningInstance(const wchar_t* windowClass, DWORD waitMs) {
  const DWORD start = GetTickCount();
  for (;;) {
    HWND running = FindWindowW(windowClass, nullptr);
    if (running != nullptr) return running;
    if (GetTickCount() - start >= waitMs) return nullptr;
    Sleep(50);
  }
}

void releaseSingleInstance() {
  if (instanceMutex != nullptr) CloseHandle(instanceMutex);
  instanceMutex = nullptr;
}

#endif
