// Desktop stand-ins for the Windows-CE-only calls (see ce_compat.h).
#include "shell/ce_compat.h"

#ifndef _WIN32_WCE

#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <cstring>
#include <cwchar>
#include <new>

struct RegistryWatcher {
  HKEY key = nullptr;
  wchar_t valueName[256] = {};
  REGISTRYNOTIFYCALLBACK callback = nullptr;
  DWORD userData = 0;
  HANDLE changed = nullptr;
  HANDLE stop = nullptr;
  HANDLE thread = nullptr;
  // The value as last seen, to report changes only.
  bool present = false;
  DWORD size = 0;
  BYTE data[1024] = {};
};

namespace {

// Reads the watched value. A value larger than the buffer reads as missing.
void readWatchedValue(RegistryWatcher& watcher, bool& present, DWORD& size, BYTE* data,
                      DWORD capacity) {
  size = capacity;
  LONG result = RegQueryValueExW(watcher.key, watcher.valueName, nullptr, nullptr, data, &size);
  present = result == ERROR_SUCCESS;
  if (!present) size = 0;
}

DWORD WINAPI watchRegistryValue(void* parameter) {
  RegistryWatcher& watcher = *static_cast<RegistryWatcher*>(parameter);
  HANDLE events[2] = {watcher.stop, watcher.changed};
  for (;;) {
    // Arm before reading so that no change between the two is missed.
    bool armed = RegNotifyChangeKeyValue(watcher.key, FALSE, REG_NOTIFY_CHANGE_LAST_SET,
                                         watcher.changed, TRUE) == ERROR_SUCCESS;
    BYTE data[sizeof(watcher.data)];
    bool present = false;
    DWORD size = 0;
    readWatchedValue(watcher, present, size, data, sizeof(data));
    if (present != watcher.present || size != watcher.size ||
        std::memcmp(data, watcher.data, size) != 0) {
      watcher.present = present;
      watcher.size = size;
      std::memcpy(watcher.data, data, size);
      watcher.callback(&watcher, watcher.userData, present ? data : nullptr, size);
    }
    if (!armed) return 0;
    if (WaitForMultipleObjects(2, events, FALSE, INFINITE) != WAIT_OBJECT_0 + 1) return 0;
  }
}

void destroyWatcher(RegistryWatcher* watcher) {
  if (watcher->thread) CloseHandle(watcher->thread);
  if (watcher->stop) CloseHandle(watcher->stop);
  if (watcher->changed) CloseHandle(watcher->changed);
  if (watcher->key) RegCloseKey(watcher->key);
  delete watcher;
}

}  // namespace

HRESULT RegistryNotifyCallback(HKEY root, const wchar_t* subKey, const wchar_t* valueName,
                               REGISTRYNOTIFYCALLBACK callback, DWORD userData,
                               NOTIFICATIONCONDITION* condition, HREGNOTIFY* notification) {
  if (!notification) return E_INVALIDARG;
  *notification = nullptr;
  if (!callback || condition || !valueName || std::wcslen(valueName) >= 256) return E_INVALIDARG;
  RegistryWatcher* watcher = new (std::nothrow) RegistryWatcher;
  if (!watcher) return E_OUTOFMEMORY;
  std::wcscpy(watcher->valueName, valueName);
  watcher->callback = callback;
  watcher->userData = userData;
  if (RegOpenKeyExW(root, subKey, 0, KEY_QUERY_VALUE | KEY_NOTIFY, &watcher->key) !=
      ERROR_SUCCESS) {
    watcher->key = nullptr;
    destroyWatcher(watcher);
    return E_FAIL;
  }
  // Only changes after registration are reported.
  readWatchedValue(*watcher, watcher->present, watcher->size, watcher->data, sizeof(watcher->data));
  watcher->changed = CreateEventW(nullptr, FALSE, FALSE, nullptr);
  watcher->stop = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  if (watcher->changed && watcher->stop) {
    watcher->thread = CreateThread(nullptr, 0, watchRegistryValue, watcher, 0, nullptr);
  }
  if (!watcher->thread) {
    destroyWatcher(watcher);
    return E_FAIL;
  }
  *notification = watcher;
  return S_OK;
}

HRESULT RegistryCloseNotification(HREGNOTIFY notification) {
  if (!notification) return E_INVALIDARG;
  SetEvent(notification->stop);
  WaitForSingleObject(notification->thread, INFINITE);
  destroyWatcher(notification);
  return S_OK;
}

BOOL SHCreateMenuBar(SHMENUBARINFO* info) {
  if (!info || !info->hwndParent) return FALSE;
  info->hwndMB = nullptr;
  HMENU menu = LoadMenuW(info->hInstRes, MAKEINTRESOURCEW(info->nToolBarId));
  if (!menu) return FALSE;
  if (!SetMenu(info->hwndParent, menu)) {
    DestroyMenu(menu);
    return FALSE;
  }
  info->hwndMB = CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 0, 0, 0, 0, info->hwndParent, nullptr,
                                 info->hInstRes, nullptr);
  return info->hwndMB != nullptr;
}

BOOL SHInitDialog(SHINITDLGINFO* info) {
  return info != nullptr;
}

BOOL SHHandleWMActivate(HWND, WPARAM, LPARAM, SHACTIVATEINFO*, DWORD) {
  return FALSE;
}

BOOL SHHandleWMSettingChange(HWND, WPARAM, LPARAM, SHACTIVATEINFO*) {
  return FALSE;
}

BOOL SHCreateShortcut(const wchar_t* shortcutPath, const wchar_t* target) {
  if (!shortcutPath || !target) return FALSE;
  // Split "path" args, or a bare path.
  wchar_t path[MAX_PATH + 1] = {};
  const wchar_t* arguments = L"";
  if (target[0] == L'"') {
    const wchar_t* end = std::wcschr(target + 1, L'"');
    if (!end || end - (target + 1) > MAX_PATH) return FALSE;
    std::wmemcpy(path, target + 1, end - (target + 1));
    arguments = end + 1;
    while (*arguments == L' ') ++arguments;
  } else {
    if (std::wcslen(target) > MAX_PATH) return FALSE;
    std::wcscpy(path, target);
  }

  HRESULT initialized = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  BOOL saved = FALSE;
  IShellLinkW* link = nullptr;
  if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                 reinterpret_cast<void**>(&link)))) {
    IPersistFile* file = nullptr;
    if (SUCCEEDED(link->SetPath(path)) && SUCCEEDED(link->SetArguments(arguments)) &&
        SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
      saved = SUCCEEDED(file->Save(shortcutPath, TRUE));
      file->Release();
    }
    link->Release();
  }
  if (SUCCEEDED(initialized)) CoUninitialize();
  return saved;
}

#endif
