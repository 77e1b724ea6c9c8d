// A small Win32 helper for the end-to-end run: it looks at the running
// padquiltkana from another process, the way a user or another program
// would, and reports what it finds on standard output (UTF-8).
//
//   probe wait-window MS          wait for the main window
//   probe wait-gone MS            wait until no main window is left
//   probe wait-dialog NAME MS     wait for a dialog (settings, advanced, about)
//   probe no-dialog NAME          exit 0 when the dialog does not exist
//   probe text NAME ID            print a control's text (WM_GETTEXT)
//   probe center NAME ID          print the control's centre "x y" on the screen
//   probe enabled NAME ID         exit 0 when the control is enabled
//   probe checked NAME ID         exit 0 when the check box is ticked
//   probe dump NAME               print every control: id, class, text
//   probe rect NAME               print the window as WxH+X+Y (settings: the main window)
//   probe post-command ID PARAM   post WM_COMMAND(ID, PARAM) to the main window
//   probe send NAME MESSAGE       send WM_CLOSE or WM_COMMAND IDOK to a dialog / main
//   probe alive                   exit 0 when the main window answers within 2 s
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>

namespace {

constexpr int kSettingsMarker = 1018;
constexpr int kAdvancedMarker = 1051;
constexpr int kAboutMarker = 1047;

HWND mainWindow() {
  return FindWindowW(L"padQuiltKana", nullptr);
}

struct DialogSearch {
  DWORD process;
  int marker;
  HWND found;
};

BOOL CALLBACK checkChild(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<DialogSearch*>(data);
  if (GetDlgItem(window, search->marker) != nullptr) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

BOOL CALLBACK checkTopLevel(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<DialogSearch*>(data);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (process != search->process) return TRUE;
  if (GetDlgItem(window, search->marker) != nullptr) {
    search->found = window;
    return FALSE;
  }
  EnumChildWindows(window, checkChild, data);
  return search->found == nullptr;
}

int markerOf(const char* name) {
  if (strcmp(name, "settings") == 0) return kSettingsMarker;
  if (strcmp(name, "advanced") == 0) return kAdvancedMarker;
  if (strcmp(name, "about") == 0) return kAboutMarker;
  fprintf(stderr, "probe: unknown dialog %s\n", name);
  exit(2);
}

// A visible dialog of the program's process that holds the marker control.
HWND findDialog(const char* name) {
  HWND main = mainWindow();
  if (main == nullptr) return nullptr;
  DialogSearch search = {0, markerOf(name), nullptr};
  GetWindowThreadProcessId(main, &search.process);
  EnumWindows(checkTopLevel, reinterpret_cast<LPARAM>(&search));
  if (search.found != nullptr && !IsWindowVisible(search.found)) return nullptr;
  return search.found;
}

HWND requireDialog(const char* name) {
  HWND dialog = findDialog(name);
  if (dialog == nullptr) {
    fprintf(stderr, "probe: no %s dialog\n", name);
    exit(1);
  }
  return dialog;
}

HWND requireControl(const char* name, const char* id) {
  HWND control = GetDlgItem(requireDialog(name), atoi(id));
  if (control == nullptr) {
    fprintf(stderr, "probe: no control %s in the %s dialog\n", id, name);
    exit(1);
  }
  return control;
}

std::string utf8(const wchar_t* text) {
  const int bytes = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
  if (bytes <= 1) return std::string();
  std::string out(static_cast<size_t>(bytes), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text, -1, &out[0], bytes, nullptr, nullptr);
  out.resize(static_cast<size_t>(bytes - 1));
  return out;
}

// The whole text, however long (the test field grows while keys are typed).
std::string windowText(HWND window) {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &length)) {
    return std::string();
  }
  std::wstring text(length + 1, L'\0');
  DWORD_PTR copied = 0;
  SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]),
                      SMTO_ABORTIFHUNG, 2000, &copied);
  text.resize(copied < text.size() ? copied : text.size() - 1);
  return utf8(text.c_str());
}

bool waitFor(bool (*condition)(const char*), const char* argument, int timeoutMs) {
  const DWORD start = GetTickCount();
  while (!condition(argument)) {
    if (static_cast<int>(GetTickCount() - start) > timeoutMs) return false;
    Sleep(100);
  }
  return true;
}

bool hasMainWindow(const char*) {
  return mainWindow() != nullptr;
}
bool hasNoMainWindow(const char*) {
  return mainWindow() == nullptr;
}
bool hasDialog(const char* name) {
  return findDialog(name) != nullptr;
}

BOOL CALLBACK dumpControl(HWND control, LPARAM) {
  wchar_t className[64] = {};
  GetClassNameW(control, className, 64);
  printf("%d\t%s\t%s\n", GetDlgCtrlID(control), utf8(className).c_str(),
         windowText(control).c_str());
  return TRUE;
}

int usage() {
  fprintf(stderr, "usage: probe COMMAND ... (see the source)\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return usage();
  const std::string command = argv[1];
  if (command == "wait-window" && argc == 3) {
    return waitFor(hasMainWindow, nullptr, atoi(argv[2])) ? 0 : 1;
  }
  if (command == "wait-gone" && argc == 3) {
    return waitFor(hasNoMainWindow, nullptr, atoi(argv[2])) ? 0 : 1;
  }
  if (command == "wait-dialog" && argc == 4) {
    return waitFor(hasDialog, argv[2], atoi(argv[3])) ? 0 : 1;
  }
  if (command == "no-dialog" && argc == 3) {
    return findDialog(argv[2]) == nullptr ? 0 : 1;
  }
  if (command == "text" && argc == 4) {
    printf("%s\n", windowText(requireControl(argv[2], argv[3])).c_str());
    return 0;
  }
  if (command == "center" && argc == 4) {
    RECT rect;
    GetWindowRect(requireControl(argv[2], argv[3]), &rect);
    printf("%ld %ld\n", (rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    return 0;
  }
  if (command == "enabled" && argc == 4) {
    return IsWindowEnabled(requireControl(argv[2], argv[3])) ? 0 : 1;
  }
  if (command == "checked" && argc == 4) {
    DWORD_PTR state = 0;
    SendMessageTimeoutW(requireControl(argv[2], argv[3]), BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, 2000,
                        &state);
    return state == BST_CHECKED ? 0 : 1;
  }
  if (command == "rect" && argc == 3) {
    // The client area on the screen (without a window manager nobody draws
    // captions); the settings dialog with the menu above it.
    HWND dialog = requireDialog(argv[2]);
    RECT rect;
    GetClientRect(dialog, &rect);
    MapWindowPoints(dialog, nullptr, reinterpret_cast<POINT*>(&rect), 2);
    if (strcmp(argv[2], "settings") == 0) {
      // While in front the main window has no caption: its top is the menu's.
      RECT main;
      GetWindowRect(mainWindow(), &main);
      rect.left = main.left;
      rect.top = main.top;
    }
    printf("%ldx%ld+%ld+%ld\n", rect.right - rect.left, rect.bottom - rect.top, rect.left,
           rect.top);
    return 0;
  }
  if (command == "dump" && argc == 3) {
    EnumChildWindows(requireDialog(argv[2]), dumpControl, 0);
    return 0;
  }
  if (command == "post-command" && argc == 4) {
    HWND main = mainWindow();
    if (main == nullptr) return 1;
    const WPARAM id = static_cast<WPARAM>(strtoull(argv[2], nullptr, 0));
    const LPARAM param = static_cast<LPARAM>(strtoull(argv[3], nullptr, 0));
    return PostMessageW(main, WM_COMMAND, id, param) ? 0 : 1;
  }
  if (command == "send" && argc == 4) {
    HWND target = strcmp(argv[2], "main") == 0 ? mainWindow() : requireDialog(argv[2]);
    if (target == nullptr) return 1;
    DWORD_PTR result = 0;
    if (strcmp(argv[3], "close") == 0) {
      return SendMessageTimeoutW(target, WM_CLOSE, 0, 0, SMTO_ABORTIFHUNG, 5000, &result) ? 0 : 1;
    }
    if (strcmp(argv[3], "ok") == 0) {
      return PostMessageW(target, WM_COMMAND, IDOK, 0) ? 0 : 1;
    }
    return usage();
  }
  if (command == "alive" && argc == 2) {
    HWND main = mainWindow();
    DWORD_PTR result = 0;
    if (main == nullptr) return 1;
    return SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, &result) ? 0 : 1;
  }
  return usage();
}
