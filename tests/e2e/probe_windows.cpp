#include "tests/e2e/probe_windows.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "shell/resource_ids.h"

namespace {

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

}  // namespace

HWND mainWindow() {
  return FindWindowW(L"padQuiltKana", nullptr);
}

int dialogMarker(const char* name) {
  // A control that only its dialog has marks each dialog.
  if (strcmp(name, "settings") == 0) return IDC_TEST_FIELD;
  if (strcmp(name, "advanced") == 0) return IDC_ROTATION_BEHAVIOUR;
  if (strcmp(name, "about") == 0) return IDC_UNINSTALL_CLEANUP;
  fprintf(stderr, "probe: unknown dialog %s\n", name);
  exit(2);
}

HWND findDialog(const char* name) {
  HWND main = mainWindow();
  if (main == nullptr) return nullptr;
  DialogSearch search = {0, dialogMarker(name), nullptr};
  GetWindowThreadProcessId(main, &search.process);
  EnumWindows(checkTopLevel, reinterpret_cast<LPARAM>(&search));
  if (search.found != nullptr && !IsWindowVisible(search.found)) return nullptr;
  return search.found;
}

std::string utf8(const wchar_t* text) {
  const int bytes = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
  if (bytes <= 1) return std::string();
  std::string out(static_cast<size_t>(bytes), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text, -1, &out[0], bytes, nullptr, nullptr);
  out.resize(static_cast<size_t>(bytes - 1));
  return out;
}

std::wstring wideText(HWND window) {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &length)) {
    return std::wstring();
  }
  std::wstring text(length + 1, L'\0');
  DWORD_PTR copied = 0;
  SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]),
                      SMTO_ABORTIFHUNG, 2000, &copied);
  text.resize(copied < text.size() ? copied : text.size() - 1);
  return text;
}

std::string windowText(HWND window) {
  return utf8(wideText(window).c_str());
}
