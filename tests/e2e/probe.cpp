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
//   probe visible NAME ID         exit 0 when the control is shown
//   probe dpi                     print the system's DPI (LOGPIXELSY)
//   probe count-main              print how many main windows there are
//   probe checked NAME ID         exit 0 when the check box is ticked
//   probe dump NAME               print every control: id, class, text
//   probe state NAME              print every control as a user sees it: id, enabled,
//                                 ticked (or the combo box's entry), text
//   probe close-others            close the program's other windows (dialogs, message
//                                 boxes, the icon's menu); print how many
//   probe rect NAME               print a dialog's client area (main: the main window,
//                                 menu: the open pop-up menu, window:NAME: the dialog
//                                 with its frame) as WxH+X+Y
//   probe post-command ID PARAM   post WM_COMMAND(ID, PARAM) to the main window
//   probe post-message MSG W L    post any message to the main window
//   probe send NAME MESSAGE       send WM_CLOSE or WM_COMMAND IDOK to a dialog / main
//   probe alive                   exit 0 when the main window answers within 2 s
//   probe close-box               print the centre "x y" of the main window's close box
//   probe tray-exists             exit 0 when the program's notification-area icon exists
//   probe tray-icon               print the centre "x y" of the icon where wine shows it
//   probe keys MS                 show a window titled "pqk_probe keys" for MS ms and print
//                                 the virtual key of every key-down it receives, in hex
//   probe key-events MS           the same, with each key-down's scan code and extended
//                                 flag as its lParam carries them: "vk scan ext" in hex
//   probe set-text NAME ID TEXT   set a control's text (WM_SETTEXT), e.g. before fit
//   probe fit NAME EXE            measure every static, button and combo text of a
//                                 dialog with the font its template in EXE names;
//                                 exit 0 when every text fits its control
//   probe version EXE             print EXE's version resource: its FileVersion and
//                                 ProductVersion texts and its numbers, a.b.c.d
//   probe notepad MS              wait for a Notepad window, print the first line of
//                                 the text it shows and close it
#include <windows.h>
// windows.h first: shellapi.h needs its types.
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>
#include <vector>

#include "shell/resource_ids.h"
#include "tests/e2e/probe_windows.h"

namespace {

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

// What a user sees of each control: id, enabled, ticked, text. The test
// field and the IME label change by themselves and are left out.
BOOL CALLBACK printControlState(HWND control, LPARAM) {
  const int id = GetDlgCtrlID(control);
  if (id == IDC_TEST_FIELD || id == IDC_IME_LABEL) return TRUE;
  DWORD_PTR checked = 0;
  wchar_t className[64] = {};
  GetClassNameW(control, className, 64);
  if (_wcsicmp(className, L"Button") == 0) {
    SendMessageTimeoutW(control, BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, 2000, &checked);
  } else if (_wcsicmp(className, L"ComboBox") == 0) {
    SendMessageTimeoutW(control, CB_GETCURSEL, 0, 0, SMTO_ABORTIFHUNG, 2000, &checked);
  }
  printf("%d\t%s\t%d\t%s\n", id, IsWindowEnabled(control) ? "enabled" : "disabled",
         static_cast<int>(checked), windowText(control).c_str());
  return TRUE;
}

struct OtherWindows {
  DWORD process;
  HWND main;
  HWND tray;
  int closed;
};

BOOL CALLBACK closeOtherWindow(HWND window, LPARAM data) {
  auto* others = reinterpret_cast<OtherWindows*>(data);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (process != others->process || window == others->main || window == others->tray ||
      !IsWindowVisible(window)) {
    return TRUE;
  }
  wchar_t className[64] = {};
  GetClassNameW(window, className, 64);
  if (wcscmp(className, L"#32768") == 0) return TRUE;  // a menu: ended below
  DWORD_PTR result = 0;
  SendMessageTimeoutW(window, WM_CLOSE, 0, 0, SMTO_ABORTIFHUNG, 2000, &result);
  ++others->closed;
  return TRUE;
}

// Closes what the program has open besides its main window (a dialog, a
// file dialog, a message box, the icon's menu), the way a user would with
// the close box or Esc; prints how many windows it closed.
int closeOtherWindows() {
  OtherWindows others = {0, mainWindow(), FindWindowW(L"padQuiltKanaTray", nullptr), 0};
  if (others.main == nullptr) return 1;
  GetWindowThreadProcessId(others.main, &others.process);
  DWORD_PTR result = 0;
  for (HWND window : {others.main, others.tray}) {
    if (window != nullptr) {
      SendMessageTimeoutW(window, WM_CANCELMODE, 0, 0, SMTO_ABORTIFHUNG, 2000, &result);
    }
  }
  for (int round = 0; round < 5; ++round) {
    const int before = others.closed;
    EnumWindows(closeOtherWindow, reinterpret_cast<LPARAM>(&others));
    if (others.closed == before) break;
    Sleep(300);
  }
  printf("%d\n", others.closed);
  return 0;
}

// The close box, found the way the system finds it: by asking the window
// what lies under each point of its caption, from the right.
int printCloseBox() {
  HWND main = mainWindow();
  RECT rect;
  if (main == nullptr || !GetWindowRect(main, &rect)) return 1;
  for (int y = rect.top; y < rect.top + 40 && y < rect.bottom; y += 2) {
    for (int x = rect.right - 1; x > rect.right - 80 && x > rect.left; x -= 2) {
      DWORD_PTR hit = 0;
      SendMessageTimeoutW(main, WM_NCHITTEST, 0, MAKELPARAM(x, y), SMTO_ABORTIFHUNG, 2000, &hit);
      if (hit == HTCLOSE) {
        printf("%d %d\n", x - 3, y + 3);
        return 0;
      }
    }
  }
  return 1;
}

// Asks the shell to change nothing about the icon: it answers yes only for
// an icon it has.
int trayIconExists() {
  HWND tray = FindWindowW(L"padQuiltKanaTray", nullptr);
  if (tray == nullptr) return 1;
  NOTIFYICONDATAW data = {};
  data.cbSize = sizeof(data);
  data.hWnd = tray;
  data.uID = 1;
  return Shell_NotifyIconW(NIM_MODIFY, &data) ? 0 : 1;
}

BOOL CALLBACK findWineTrayIcon(HWND window, LPARAM found) {
  wchar_t className[64] = {};
  GetClassNameW(window, className, 64);
  if (wcscmp(className, L"__winex11_tray_icon") == 0 && IsWindowVisible(window)) {
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
  }
  return TRUE;
}

// Without a desktop tray, wine shows the icons in a small window of its own.
int printTrayIcon() {
  HWND tray = FindWindowW(L"__winex11_standalone_tray", nullptr);
  HWND icon = nullptr;
  if (tray != nullptr) EnumChildWindows(tray, findWineTrayIcon, reinterpret_cast<LPARAM>(&icon));
  RECT rect;
  if (icon == nullptr || !GetWindowRect(icon, &rect)) return 1;
  printf("%ld %ld\n", (rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
  return 0;
}

// Key-downs that reached the probe's own window, as an application gets them.
std::string receivedKeys;
// With the scan code and the extended flag of lParam.
bool withScanCodes = false;

LRESULT CALLBACK recordKeys(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_KEYDOWN || message == WM_SYSKEYDOWN) {
    char line[32];
    const auto vk = static_cast<unsigned>(wParam & 0xFF);
    if (withScanCodes) {
      snprintf(line, sizeof line, "%02x %02x %u\n", vk,
               static_cast<unsigned>((lParam >> 16) & 0xFF),
               static_cast<unsigned>((lParam >> 24) & 1));
    } else {
      snprintf(line, sizeof line, "%02x\n", vk);
    }
    receivedKeys += line;
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

int printReceivedKeys(int milliseconds, bool scanCodes) {
  withScanCodes = scanCodes;
  WNDCLASSW windowClass = {};
  windowClass.lpfnWndProc = recordKeys;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = L"pqkProbeKeys";
  RegisterClassW(&windowClass);
  HWND window =
      CreateWindowExW(0, L"pqkProbeKeys", L"pqk_probe keys", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 400,
                      400, 200, 100, nullptr, nullptr, windowClass.hInstance, nullptr);
  if (window == nullptr) return 1;
  const DWORD start = GetTickCount();
  while (static_cast<int>(GetTickCount() - start) < milliseconds) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
  }
  DestroyWindow(window);
  printf("%s", receivedKeys.c_str());
  return 0;
}

int resourceOf(const char* name) {
  if (strcmp(name, "settings") == 0) return IDD_SETTINGS;
  if (strcmp(name, "advanced") == 0) return IDD_ADVANCED;
  return IDD_ABOUT;
}

// The font a dialog template asks for: point size, weight, italic, face.
struct TemplateFont {
  int points = 0;
  int weight = FW_NORMAL;
  bool italic = false;
  std::wstring face;
};

// Steps over a menu or class field: none, an ordinal, or a string.
const WORD* skipNameOrOrdinal(const WORD* at) {
  if (*at == 0x0000) return at + 1;
  if (*at == 0xFFFF) return at + 2;
  while (*at != 0) ++at;
  return at + 1;
}

bool readTemplateFont(const wchar_t* exe, int resource, TemplateFont& font) {
  HMODULE module =
      LoadLibraryExW(exe, nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  if (module == nullptr) return false;
  HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(resource), MAKEINTRESOURCEW(5));
  const WORD* at =
      found ? static_cast<const WORD*>(LockResource(LoadResource(module, found))) : nullptr;
  if (at == nullptr) return false;
  const bool extended = at[0] == 1 && at[1] == 0xFFFF;
  DWORD style = 0;
  if (extended) {
    style = at[6] | (static_cast<DWORD>(at[7]) << 16);
    at += 13;  // version, signature, help id, extended style, style, count, x, y, cx, cy
  } else {
    style = at[0] | (static_cast<DWORD>(at[1]) << 16);
    at += 9;  // style, extended style, count, x, y, cx, cy
  }
  at = skipNameOrOrdinal(at);  // menu
  at = skipNameOrOrdinal(at);  // class
  while (*at != 0) ++at;       // title
  ++at;
  if (!(style & DS_SETFONT)) return false;
  font.points = *at++;
  if (extended) {
    font.weight = *at++;
    font.italic = (*at & 0xFF) != 0;
    ++at;  // italic and character set bytes
  }
  font.face = reinterpret_cast<const wchar_t*>(at);
  return true;
}

struct FitCheck {
  HDC dc;
  HWND dialog;
  int dpi;
  int clipped;
  int measured;
};

SIZE measure(HDC dc, const std::wstring& text, UINT flags, int width) {
  RECT rect = {0, 0, width, 0};
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect, flags | DT_CALCRECT);
  return {rect.right - rect.left, rect.bottom - rect.top};
}

void report(FitCheck& check, HWND control, const std::wstring& text, SIZE need, SIZE room) {
  ++check.measured;
  if (need.cx <= room.cx && need.cy <= room.cy) return;
  ++check.clipped;
  printf("clipped: control %d \"%s\" needs %ldx%ld, has %ldx%ld\n", GetDlgCtrlID(control),
         utf8(text.c_str()).c_str(), need.cx, need.cy, room.cx, room.cy);
}

BOOL CALLBACK fitControl(HWND control, LPARAM data) {
  FitCheck& check = *reinterpret_cast<FitCheck*>(data);
  if (GetParent(control) != check.dialog || !IsWindowVisible(control)) return TRUE;
  wchar_t className[64] = {};
  GetClassNameW(control, className, 64);
  const LONG style = GetWindowLongW(control, GWL_STYLE);
  RECT client;
  GetClientRect(control, &client);
  // The control itself must lie inside the dialog.
  RECT place;
  GetWindowRect(control, &place);
  MapWindowPoints(nullptr, check.dialog, reinterpret_cast<POINT*>(&place), 2);
  RECT dialogClient;
  GetClientRect(check.dialog, &dialogClient);
  if (place.left < 0 || place.top < 0 || place.right > dialogClient.right ||
      place.bottom > dialogClient.bottom) {
    ++check.clipped;
    printf("clipped: control %d lies outside its dialog\n", GetDlgCtrlID(control));
  }
  const std::wstring text = wideText(control);
  const int box = MulDiv(13, check.dpi, 96);  // a check box's or radio button's mark
  if (_wcsicmp(className, L"Static") == 0) {
    const LONG type = style & SS_TYPEMASK;
    if (text.empty() || (type != SS_LEFT && type != SS_CENTER && type != SS_RIGHT &&
                         type != SS_LEFTNOWORDWRAP && type != SS_SIMPLE)) {
      return TRUE;
    }
    UINT flags = DT_EXPANDTABS | ((style & SS_NOPREFIX) ? DT_NOPREFIX : 0);
    flags |= (type == SS_LEFTNOWORDWRAP || type == SS_SIMPLE) ? DT_SINGLELINE : DT_WORDBREAK;
    report(check, control, text, measure(check.dc, text, flags, client.right),
           {client.right, client.bottom});
  } else if (_wcsicmp(className, L"Button") == 0) {
    const LONG type = style & BS_TYPEMASK;
    const SIZE need = measure(check.dc, text, DT_SINGLELINE, 0);
    if (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON) {
      // Inside the button's raised edge, with room for the focus frame.
      report(check, control, text, {need.cx + 8, need.cy + 4}, {client.right, client.bottom});
    } else if (type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_RADIOBUTTON ||
               type == BS_AUTORADIOBUTTON) {
      // The mark, a gap of half a digit, the text and its focus frame.
      SIZE digit;
      GetTextExtentPoint32W(check.dc, L"0", 1, &digit);
      report(check, control, text, {box + digit.cx / 2 + need.cx + 2, need.cy},
             {client.right, client.bottom});
    }
  } else if (_wcsicmp(className, L"ComboBox") == 0) {
    DWORD_PTR count = 0;
    SendMessageTimeoutW(control, CB_GETCOUNT, 0, 0, SMTO_ABORTIFHUNG, 2000, &count);
    // The field keeps its drop-down button and borders beside the text.
    const int room = client.right - GetSystemMetrics(SM_CXVSCROLL) - 8;
    for (DWORD_PTR item = 0; item < count; ++item) {
      wchar_t entry[256] = {};
      DWORD_PTR length = 0;
      SendMessageTimeoutW(control, CB_GETLBTEXTLEN, item, 0, SMTO_ABORTIFHUNG, 2000, &length);
      if (length >= 256) continue;
      SendMessageTimeoutW(control, CB_GETLBTEXT, item, reinterpret_cast<LPARAM>(entry),
                          SMTO_ABORTIFHUNG, 2000, &length);
      const SIZE need = measure(check.dc, entry, DT_SINGLELINE, 0);
      report(check, control, entry, {need.cx, need.cy}, {room, client.bottom});
    }
  }
  return TRUE;
}

// Every text of the dialog against its control, with the dialog's own font.
int fitDialog(const char* name, const char* exe) {
  HWND dialog = requireDialog(name);
  TemplateFont font;
  std::wstring exePath(exe, exe + strlen(exe));
  if (!readTemplateFont(exePath.c_str(), resourceOf(name), font)) {
    fprintf(stderr, "probe: no font in the %s dialog's template\n", name);
    return 1;
  }
  HDC dc = GetDC(nullptr);
  const int dpi = GetDeviceCaps(dc, LOGPIXELSY);
  HFONT hfont =
      CreateFontW(-MulDiv(font.points, dpi, 72), 0, 0, 0, font.weight, font.italic, FALSE, FALSE,
                  DEFAULT_CHARSET, 0, 0, PROOF_QUALITY, FF_DONTCARE, font.face.c_str());
  HGDIOBJ old = SelectObject(dc, hfont);
  FitCheck check = {dc, dialog, dpi, 0, 0};
  EnumChildWindows(dialog, fitControl, reinterpret_cast<LPARAM>(&check));
  // A dialog inside a window must not be cut by it either.
  if (GetWindowLongW(dialog, GWL_STYLE) & WS_CHILD) {
    RECT place;
    GetWindowRect(dialog, &place);
    HWND parent = GetParent(dialog);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&place), 2);
    RECT parentClient;
    GetClientRect(parent, &parentClient);
    if (place.right > parentClient.right || place.bottom > parentClient.bottom) {
      ++check.clipped;
      printf("clipped: the dialog lies outside its window\n");
    }
  }
  SelectObject(dc, old);
  DeleteObject(hfont);
  ReleaseDC(nullptr, dc);
  printf("%d texts measured with %s %dpt, %d clipped\n", check.measured,
         utf8(font.face.c_str()).c_str(), font.points, check.clipped);
  return check.measured > 0 && check.clipped == 0 ? 0 : 1;
}

// The version as Explorer's properties show it, texts and numbers, from the
// Japanese UTF-16 block the program carries.
int printVersion(const char* exe) {
  const std::wstring path(exe, exe + strlen(exe));
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
  if (size == 0) return 1;
  std::vector<char> info(size);
  if (!GetFileVersionInfoW(path.c_str(), 0, size, info.data())) return 1;
  std::string texts;
  for (const wchar_t* name : {L"FileVersion", L"ProductVersion"}) {
    const std::wstring key = std::wstring(L"\\StringFileInfo\\041104B0\\") + name;
    wchar_t* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(info.data(), key.c_str(), reinterpret_cast<void**>(&value), &length)) {
      return 1;
    }
    texts += utf8(value) + " ";
  }
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  if (!VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &length)) return 1;
  printf("%s%u.%u.%u.%u\n", texts.c_str(), HIWORD(fixed->dwFileVersionMS),
         LOWORD(fixed->dwFileVersionMS), HIWORD(fixed->dwFileVersionLS),
         LOWORD(fixed->dwFileVersionLS));
  return 0;
}

bool hasNotepad(const char*) {
  return FindWindowW(L"Notepad", nullptr) != nullptr;
}

// What Notepad made of the file it opened: the first line as it shows it.
int printNotepadLine(int timeoutMs) {
  const DWORD start = GetTickCount();
  if (!waitFor(hasNotepad, nullptr, timeoutMs)) return 1;
  HWND notepad = FindWindowW(L"Notepad", nullptr);
  HWND edit = FindWindowExW(notepad, nullptr, L"Edit", nullptr);
  // Notepad fills its field after the window appears; on a busy machine that
  // can take seconds, so the whole timeout is the limit, not a few tries.
  std::wstring text;
  while (edit != nullptr && text.empty()) {
    text = wideText(edit);
    if (!text.empty() || GetTickCount() - start >= static_cast<DWORD>(timeoutMs)) break;
    Sleep(100);
  }
  text = text.substr(0, text.find_first_of(L"\r\n"));
  printf("%s\n", utf8(text.c_str()).c_str());
  DWORD_PTR result = 0;
  SendMessageTimeoutW(notepad, WM_CLOSE, 0, 0, SMTO_ABORTIFHUNG, 5000, &result);
  return edit != nullptr ? 0 : 1;
}

int usage() {
  fprintf(stderr, "usage: probe COMMAND ... (see the source)\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return usage();
  // Pixels as they are on the screen, at the DPI the system has: a probe
  // that the system scaled would measure another program's texts wrongly.
  SetProcessDPIAware();
  const std::string command = argv[1];
  if (command == "dpi" && argc == 2) {
    HDC screen = GetDC(nullptr);
    printf("%d\n", GetDeviceCaps(screen, LOGPIXELSY));
    ReleaseDC(nullptr, screen);
    return 0;
  }
  if (command == "count-main" && argc == 2) {
    int count = 0;
    for (HWND window = FindWindowExW(nullptr, nullptr, L"padQuiltKana", nullptr); window != nullptr;
         window = FindWindowExW(nullptr, window, L"padQuiltKana", nullptr)) {
      ++count;
    }
    printf("%d\n", count);
    return 0;
  }
  if (command == "visible" && argc == 4) {
    return IsWindowVisible(requireControl(argv[2], argv[3])) ? 0 : 1;
  }
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
    // The whole main window, or a dialog's client area, on the screen.
    RECT rect;
    if (strcmp(argv[2], "main") == 0) {
      if (mainWindow() == nullptr || !GetWindowRect(mainWindow(), &rect)) return 1;
    } else if (strcmp(argv[2], "menu") == 0) {
      HWND menu = FindWindowW(L"#32768", nullptr);  // the open pop-up menu
      if (menu == nullptr || !IsWindowVisible(menu) || !GetWindowRect(menu, &rect)) return 1;
    } else if (strncmp(argv[2], "window:", 7) == 0) {
      GetWindowRect(requireDialog(argv[2] + 7), &rect);  // the dialog with its frame
    } else {
      HWND dialog = requireDialog(argv[2]);
      GetClientRect(dialog, &rect);
      MapWindowPoints(dialog, nullptr, reinterpret_cast<POINT*>(&rect), 2);
    }
    printf("%ldx%ld+%ld+%ld\n", rect.right - rect.left, rect.bottom - rect.top, rect.left,
           rect.top);
    return 0;
  }
  if (command == "state" && argc == 3) {
    EnumChildWindows(requireDialog(argv[2]), printControlState, 0);
    return 0;
  }
  if (command == "close-others" && argc == 2) return closeOtherWindows();
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
  if (command == "post-message" && argc == 5) {
    HWND main = mainWindow();
    if (main == nullptr) return 1;
    const UINT message = static_cast<UINT>(strtoul(argv[2], nullptr, 0));
    const WPARAM wParam = static_cast<WPARAM>(strtoull(argv[3], nullptr, 0));
    const LPARAM lParam = static_cast<LPARAM>(strtoull(argv[4], nullptr, 0));
    return PostMessageW(main, message, wParam, lParam) ? 0 : 1;
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
  if (command == "close-box" && argc == 2) return printCloseBox();
  if (command == "tray-exists" && argc == 2) return trayIconExists();
  if (command == "tray-icon" && argc == 2) return printTrayIcon();
  if (command == "keys" && argc == 3) return printReceivedKeys(atoi(argv[2]), false);
  if (command == "key-events" && argc == 3) return printReceivedKeys(atoi(argv[2]), true);
  if (command == "set-text" && argc == 5) {
    // The text as the command line carries it in UTF-16.
    int count = 0;
    wchar_t** words = CommandLineToArgvW(GetCommandLineW(), &count);
    if (words == nullptr || count != 5) return 1;
    DWORD_PTR result = 0;
    const bool set = SendMessageTimeoutW(requireControl(argv[2], argv[3]), WM_SETTEXT, 0,
                                         reinterpret_cast<LPARAM>(words[4]), SMTO_ABORTIFHUNG, 2000,
                                         &result) != 0;
    LocalFree(words);
    return set ? 0 : 1;
  }
  if (command == "fit" && argc == 4) {
    return fitDialog(argv[2], argv[3]);
  }
  if (command == "version" && argc == 3) return printVersion(argv[2]);
  if (command == "notepad" && argc == 3) return printNotepadLine(atoi(argv[2]));
  if (command == "alive" && argc == 2) {
    HWND main = mainWindow();
    DWORD_PTR result = 0;
    if (main == nullptr) return 1;
    return SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, &result) ? 0 : 1;
  }
  return usage();
}
