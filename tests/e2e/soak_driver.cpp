// The soak's hands and eyes in the Windows world: what a week of use does to
// the running padquiltkana besides typing, done from another process, and
// what the program holds while it runs (standard output, UTF-8).
//
//   pqk_soak_driver dialogs N          open and close the advanced dialog, the About
//                                      dialog and the settings (隠す, then shown again)
//                                      N times each; print how many openings
//   pqk_soak_driver load-keymap PATH   load a keymap file through "キーマップ読込" and its
//                                      file dialog; dismiss the keymap's message boxes
//                                      and print how many there were; exit 1 when two
//                                      were up at once or the file dialog never came
//   pqk_soak_driver broadcast N        N times what Windows tells every window: the
//                                      taskbar is back (TaskbarCreated), the display
//                                      changed, a setting changed
//   pqk_soak_driver resources          print the program's windows, handles, GDI and
//                                      USER objects and memory, as Windows reports them
#include <windows.h>
// windows.h first: psapi.h needs its types.
#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "shell/resource_ids.h"
#include "tests/e2e/probe_windows.h"

namespace {

bool waitUntil(bool (*condition)(), DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  while (!condition()) {
    if (GetTickCount() - start > timeoutMs) return false;
    Sleep(20);
  }
  return true;
}

bool advancedShown() {
  return findDialog("advanced") != nullptr;
}
bool advancedGone() {
  return findDialog("advanced") == nullptr;
}
bool aboutShown() {
  return findDialog("about") != nullptr;
}
bool aboutGone() {
  return findDialog("about") == nullptr;
}
bool settingsShown() {
  return findDialog("settings") != nullptr;
}
bool settingsGone() {
  return findDialog("settings") == nullptr;
}

bool postCommand(HWND window, WPARAM id) {
  return window != nullptr && PostMessageW(window, WM_COMMAND, id, 0);
}

// One opening and closing of a dialog reached from the menu.
bool cycleDialog(WPARAM menuCommand, bool (*shown)(), bool (*gone)(), const char* name) {
  if (!postCommand(mainWindow(), menuCommand) || !waitUntil(shown, 10000)) return false;
  return postCommand(findDialog(name), IDOK) && waitUntil(gone, 10000);
}

int openDialogs(int times) {
  int openings = 0;
  for (int i = 0; i < times; ++i) {
    if (!cycleDialog(IDM_ADVANCED, advancedShown, advancedGone, "advanced")) break;
    ++openings;
    if (!cycleDialog(IDM_ABOUT, aboutShown, aboutGone, "about")) break;
    ++openings;
    // 隠す destroys the settings dialog; a second start's request makes it anew.
    if (!postCommand(mainWindow(), IDM_HIDE) || !waitUntil(settingsGone, 10000)) break;
    if (!postCommand(mainWindow(), IDM_TRAY_SHOW) || !waitUntil(settingsShown, 10000)) break;
    ++openings;
  }
  printf("%d\n", openings);
  return openings == 3 * times ? 0 : 1;
}

struct ProcessWindows {
  DWORD process;
  const wchar_t* caption;
  HWND found;
  int count;
};

BOOL CALLBACK findCaptioned(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<ProcessWindows*>(data);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (process != search->process || !IsWindowVisible(window)) return TRUE;
  wchar_t className[16] = {};
  wchar_t caption[64] = {};
  GetClassNameW(window, className, 16);
  GetWindowTextW(window, caption, 64);
  if (wcscmp(className, L"#32770") == 0 && wcscmp(caption, search->caption) == 0) {
    search->found = window;
    ++search->count;
  }
  return TRUE;
}

DWORD programProcess() {
  DWORD process = 0;
  HWND main = mainWindow();
  if (main != nullptr) GetWindowThreadProcessId(main, &process);
  return process;
}

// The program's visible dialogs with this caption: how many, and one of them.
ProcessWindows captioned(const wchar_t* caption) {
  ProcessWindows search = {programProcess(), caption, nullptr, 0};
  EnumWindows(findCaptioned, reinterpret_cast<LPARAM>(&search));
  return search;
}

bool fileDialogShown() {
  return captioned(L"Open").found != nullptr;
}
bool fileDialogGone() {
  return captioned(L"Open").found == nullptr;
}

int loadKeymap(const char* path) {
  if (!postCommand(mainWindow(), IDM_LOAD_KEYMAP) || !waitUntil(fileDialogShown, 10000)) {
    fprintf(stderr, "pqk_soak_driver: no file dialog\n");
    return 1;
  }
  HWND dialog = captioned(L"Open").found;
  // The file name field: a combo box with an edit (cmb13) or an edit (edt1).
  HWND name = GetDlgItem(dialog, 0x47C);
  if (name == nullptr) name = GetDlgItem(dialog, 0x480);
  const std::wstring widePath(path, path + strlen(path));
  DWORD_PTR result = 0;
  SendMessageTimeoutW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(widePath.c_str()),
                      SMTO_ABORTIFHUNG, 5000, &result);
  PostMessageW(dialog, WM_COMMAND, IDOK, 0);
  if (!waitUntil(fileDialogGone, 10000)) {
    fprintf(stderr, "pqk_soak_driver: the file dialog stays\n");
    return 1;
  }
  // The keymap's messages come one after the other, each dismissed with OK.
  int boxes = 0;
  int mostAtOnce = 0;
  for (;;) {
    const DWORD start = GetTickCount();
    ProcessWindows shown = captioned(L"padquiltkana");
    while (shown.count == 0 && GetTickCount() - start < 1500) {
      Sleep(20);
      shown = captioned(L"padquiltkana");
    }
    if (shown.count == 0) break;
    if (shown.count > mostAtOnce) mostAtOnce = shown.count;
    ++boxes;
    PostMessageW(shown.found, WM_COMMAND, IDOK, 0);
    const DWORD closing = GetTickCount();
    while (IsWindow(shown.found) && IsWindowVisible(shown.found) &&
           GetTickCount() - closing < 5000) {
      Sleep(20);
    }
  }
  printf("%d\n", boxes);
  return mostAtOnce <= 1 ? 0 : 1;
}

int broadcast(int times) {
  const UINT taskbarCreated = RegisterWindowMessageW(L"TaskbarCreated");
  DWORD_PTR result = 0;
  for (int i = 0; i < times; ++i) {
    PostMessageW(HWND_BROADCAST, taskbarCreated, 0, 0);
    SendMessageTimeoutW(HWND_BROADCAST, WM_DISPLAYCHANGE, 32, MAKELPARAM(1024, 768),
                        SMTO_ABORTIFHUNG, 2000, &result);
    SendMessageTimeoutW(HWND_BROADCAST, WM_SETTINGCHANGE, 0,
                        reinterpret_cast<LPARAM>(L"Environment"), SMTO_ABORTIFHUNG, 2000, &result);
  }
  return 0;
}

BOOL CALLBACK countChild(HWND, LPARAM count) {
  ++*reinterpret_cast<int*>(count);
  return TRUE;
}

BOOL CALLBACK countWindow(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<ProcessWindows*>(data);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (process != search->process) return TRUE;
  ++search->count;
  EnumChildWindows(window, countChild, reinterpret_cast<LPARAM>(&search->count));
  return TRUE;
}

int printResources() {
  const DWORD process = programProcess();
  if (process == 0) return 1;
  ProcessWindows windows = {process, nullptr, nullptr, 0};
  EnumWindows(countWindow, reinterpret_cast<LPARAM>(&windows));
  HANDLE handle = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, process);
  DWORD handles = 0;
  DWORD gdi = 0;
  DWORD user = 0;
  PROCESS_MEMORY_COUNTERS memory = {};
  if (handle != nullptr) {
    GetProcessHandleCount(handle, &handles);
    gdi = GetGuiResources(handle, GR_GDIOBJECTS);
    user = GetGuiResources(handle, GR_USEROBJECTS);
    GetProcessMemoryInfo(handle, &memory, sizeof(memory));
    CloseHandle(handle);
  }
  printf("windows=%d handles=%lu gdi=%lu user=%lu working_set_kb=%llu private_kb=%llu\n",
         windows.count, handles, gdi, user,
         static_cast<unsigned long long>(memory.WorkingSetSize / 1024),
         static_cast<unsigned long long>(memory.PagefileUsage / 1024));
  return 0;
}

int usage() {
  fprintf(stderr, "usage: pqk_soak_driver COMMAND ... (see the source)\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return usage();
  const std::string command = argv[1];
  if (command == "dialogs" && argc == 3) return openDialogs(atoi(argv[2]));
  if (command == "load-keymap" && argc == 3) return loadKeymap(argv[2]);
  if (command == "broadcast" && argc == 3) return broadcast(atoi(argv[2]));
  if (command == "resources" && argc == 2) return printResources();
  return usage();
}
