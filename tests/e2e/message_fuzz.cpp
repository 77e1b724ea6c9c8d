// Random window messages from another process, as any program on the desktop
// could send them, to the running padquiltkana: random message numbers with
// random parameters, WM_COMMAND with random ids and with the program's own
// control and menu ids, the notification-area icon's callbacks, and system
// messages with random parameters. The targets are whatever of the program is
// open at the time: the main window, the settings dialog, an advanced or
// About dialog, the icon's window.
//
//   pqk_message_fuzz SEED COUNT [LOG]
//
// The same seed sends the same messages (given the same windows). Between
// messages it counts the program's message boxes. It prints what it sent and
// the most message boxes seen at once, and exits with 1 when the program
// stopped answering or more than one message box was up at a time. LOG, when
// given, receives one line per message.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "engine/platform.h"
#include "shell/resource_ids.h"
#include "tests/e2e/probe_windows.h"

namespace {

// splitmix64: small, and the same stream on every platform.
struct Random {
  uint64_t state;
  uint64_t next() {
    uint64_t z = (state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  uint32_t below(uint32_t n) { return static_cast<uint32_t>(next() % n); }
  template <typename T, size_t N>
  T pick(const T (&items)[N]) {
    return items[below(N)];
  }
};

// Ids that end the program are left out: ending it is what they are for,
// also from another process (a second start with -c posts kCommandQuit).
// "マニュアルを開く" starts Notepad, another program.
constexpr int kRealIds[] = {
    IDM_ABOUT,
    IDM_HIDE,
    IDM_LOAD_KEYMAP,
    IDM_ADVANCED,
    IDM_TRAY_SHOW,
    IDM_TRAY_MODE_NONE,
    IDM_TRAY_MODE_KANA_TOGGLE,
    IDM_TRAY_MODE_TWO_TOUCH,
    kCommandRunProgram,
    kCommandRotateScreen,
    IDCANCEL,
    IDC_TEST_FIELD,
    IDC_MODE_NONE,
    IDC_MODE_KANA_TOGGLE,
    IDC_MODE_TWO_TOUCH,
    IDC_AUTO_ADVANCE,
    IDC_TIMEOUT,
    IDC_NICO_TOUCH,
    IDC_IME_CONTROL,
    IDC_AUTO_CAPSLOCK,
    IDC_OPEN_ADVANCED,
    IDC_ADVANCE_AFTER_STEP,
    IDC_SWITCH_IME,
    IDC_IME_LABEL,
    IDC_KEYMAP_PATH,
    IDC_SWAP_CTRL_CAPS,
    IDC_SWAP_ESC_HANKAKU,
    IDC_LOAD_KEYMAP,
    IDC_CREATE_AUTOSTART,
    IDC_DELETE_AUTOSTART,
    IDC_DEFAULT_KEYMAP,
    IDC_ROTATION_BEHAVIOUR,
    IDC_CLEAR_CANCELS_STROKE,
    IDC_NUMERIC_KEYPAD,
    IDC_OPEN_WEB_PAGE,
    IDC_UNINSTALL_CLEANUP,
};

constexpr WORD kNotifications[] = {BN_CLICKED, BN_DBLCLK,     EN_CHANGE, EN_KILLFOCUS,
                                   EN_UPDATE,  CBN_SELCHANGE, 1,         0xFFFF};

// Messages whose parameters are plain values (no pointer that the system
// would read in this process to copy them across): safe to send with any
// parameters.
constexpr UINT kPlainMessages[] = {
    WM_NULL,           WM_ACTIVATE,       WM_SETFOCUS,       WM_KILLFOCUS,
    WM_ENABLE,         WM_SETREDRAW,      WM_CLOSE,          WM_QUERYENDSESSION,
    WM_ENDSESSION,     WM_QUIT,           WM_SHOWWINDOW,     WM_ACTIVATEAPP,
    WM_CANCELMODE,     WM_TIMECHANGE,     WM_CHILDACTIVATE,  WM_NEXTDLGCTL,
    WM_DESTROY,        WM_NCDESTROY,      WM_DISPLAYCHANGE,  WM_CONTEXTMENU,
    WM_GETICON,        WM_NCACTIVATE,     WM_KEYDOWN,        WM_KEYUP,
    WM_CHAR,           WM_SYSKEYDOWN,     WM_SYSKEYUP,       WM_SYSCHAR,
    WM_INITDIALOG,     WM_COMMAND,        WM_SYSCOMMAND,     WM_TIMER,
    WM_INITMENU,       WM_MENUSELECT,     WM_ENTERIDLE,      WM_CHANGEUISTATE,
    WM_UPDATEUISTATE,  WM_MOUSEMOVE,      WM_LBUTTONDOWN,    WM_LBUTTONUP,
    WM_RBUTTONDOWN,    WM_RBUTTONUP,      WM_NCHITTEST,      WM_NCMOUSEMOVE,
    WM_NCLBUTTONDOWN,  WM_NCLBUTTONUP,    WM_NCRBUTTONDOWN,  WM_IME_NOTIFY,
    WM_IME_SETCONTEXT, WM_POWERBROADCAST, WM_HOTKEY,         WM_THEMECHANGED,
    WM_SYSCOLORCHANGE, WM_FONTCHANGE,     WM_MOUSEACTIVATE,  WM_INPUTLANGCHANGE,
    WM_ENTERMENULOOP,  WM_EXITMENULOOP,   WM_CAPTURECHANGED, WM_PAINT,
};

// System messages sent or posted with random parameters.
constexpr UINT kSystemMessages[] = {
    WM_SETTINGCHANGE,  WM_DISPLAYCHANGE,
    WM_TIMER,          WM_SYSCOMMAND,
    WM_ACTIVATE,       WM_ACTIVATEAPP,
    WM_ENDSESSION,     WM_QUERYENDSESSION,
    WM_POWERBROADCAST, WM_CLOSE,
    WM_DESTROY,        WM_NCDESTROY,
    WM_QUIT,           WM_IME_NOTIFY,
    WM_DPICHANGED,     WM_KEYDOWN,
    WM_SYSKEYDOWN,     WM_CHAR,
    WM_SYSCHAR,        WM_LBUTTONDOWN,
    WM_NCLBUTTONDOWN,  WM_CONTEXTMENU,
    WM_SETREDRAW,      WM_SHOWWINDOW,
    WM_ENABLE,         WM_NEXTDLGCTL,
    WM_INITDIALOG,     WM_CANCELMODE,
    WM_SETTEXT,        WM_GETTEXT,
    WM_HOTKEY,         WM_DEVICECHANGE,
    WM_THEMECHANGED,   WM_INPUTLANGCHANGEREQUEST,
    DM_SETDEFID,       DM_REPOSITION,
    WM_USER + 100,     WM_APP + 1,
    WM_APP + 2,
};

constexpr WPARAM kKeys[] = {VK_DOWN,  VK_UP,     VK_LEFT, VK_RIGHT, VK_TAB, VK_RETURN,
                            VK_SPACE, VK_ESCAPE, VK_F10,  VK_MENU,  '1',    '2',
                            'M',      'X',       VK_F4,   VK_APPS};
constexpr WPARAM kSysCommands[] = {SC_CLOSE,    SC_MINIMIZE,   SC_MAXIMIZE,     SC_RESTORE,
                                   SC_KEYMENU,  SC_MOUSEMENU,  SC_MOVE,         SC_SIZE,
                                   SC_TASKLIST, SC_SCREENSAVE, SC_MONITORPOWER, SC_CONTEXTHELP};
constexpr LPARAM kHitTests[] = {HTCAPTION, HTCLOSE, HTSYSMENU, HTMENU, HTMINBUTTON, HTCLIENT};
constexpr LPARAM kIconEvents[] = {WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_RBUTTONUP, WM_CONTEXTMENU,
                                  WM_MOUSEMOVE, WM_LBUTTONDOWN,   NIN_SELECT,   0x12345};

struct Program {
  DWORD process = 0;
  HWND main = nullptr;
  HWND tray = nullptr;
  std::vector<HWND> targets;   // main window and the open dialogs
  std::vector<HWND> controls;  // their controls
  int messageBoxes = 0;
};

BOOL CALLBACK addControl(HWND control, LPARAM data) {
  reinterpret_cast<Program*>(data)->controls.push_back(control);
  return TRUE;
}

BOOL CALLBACK countMessageBoxes(HWND window, LPARAM data) {
  auto* program = reinterpret_cast<Program*>(data);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (process != program->process || !IsWindowVisible(window)) return TRUE;
  wchar_t className[16] = {};
  GetClassNameW(window, className, 16);
  // GetWindowTextW reads another process's caption without asking it: a
  // program that is busy cannot hold this up.
  wchar_t caption[16] = {};
  GetWindowTextW(window, caption, 16);
  if (wcscmp(className, L"#32770") == 0 && wcscmp(caption, L"padquiltkana") == 0) {
    ++program->messageBoxes;
  }
  return TRUE;
}

Program findProgram() {
  Program program;
  program.main = mainWindow();
  if (program.main == nullptr) return program;
  GetWindowThreadProcessId(program.main, &program.process);
  program.tray = FindWindowW(L"padQuiltKanaTray", nullptr);
  program.targets.push_back(program.main);
  for (const char* name : {"settings", "advanced", "about"}) {
    HWND dialog = findDialog(name);
    if (dialog == nullptr) continue;
    program.targets.push_back(dialog);
    EnumChildWindows(dialog, addControl, reinterpret_cast<LPARAM>(&program));
  }
  EnumWindows(countMessageBoxes, reinterpret_cast<LPARAM>(&program));
  return program;
}

// A parameter as a fuzzer should try them: zero, small numbers, large and
// negative ones, the program's own window handles and ids.
LPARAM randomParameter(Random& random, const Program& program) {
  switch (random.below(10)) {
    case 0:
      return 0;
    case 1:
      return 1;
    case 2:
      return static_cast<LPARAM>(random.below(16));
    case 3:
      return static_cast<LPARAM>(random.below(0x10000));
    case 4:
      return static_cast<LPARAM>(random.next());
    case 5:
      if (!program.controls.empty()) {
        return reinterpret_cast<LPARAM>(
            program.controls[random.below(static_cast<uint32_t>(program.controls.size()))]);
      }
      return reinterpret_cast<LPARAM>(program.main);
    case 6:
      return random.pick(kRealIds);
    case 7:
      return MAKELPARAM(random.below(1024), random.below(768));
    case 8:
      return -1;
    default:
      return static_cast<LPARAM>(random.next() & 0xFFFFFFFFu);
  }
}

struct Message {
  HWND target;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  bool send;
};

bool plain(UINT message) {
  if (message >= WM_USER) return true;  // never copied across by the system
  for (UINT known : kPlainMessages) {
    if (known == message) return true;
  }
  return false;
}

// Texts and rectangles that pointer messages may point at in this process.
wchar_t textBuffer[64] = L"padquiltkana fuzz";
RECT rectBuffer = {10, 10, 400, 500};

Message randomMessage(Random& random, const Program& program) {
  Message m = {};
  m.target = program.targets[random.below(static_cast<uint32_t>(program.targets.size()))];
  m.send = random.below(2) == 0;
  const uint32_t kind = random.below(100);
  if (kind < 25) {
    // Any message number at all.
    const uint32_t range = random.below(10);
    if (range < 5) {
      m.message = random.below(WM_USER);
    } else if (range < 7) {
      m.message = WM_USER + random.below(0x100);
    } else if (range < 8) {
      m.message = WM_APP + random.below(0x100);
    } else {
      m.message = 0xC000 + random.below(0x4000);
    }
    m.wParam = static_cast<WPARAM>(randomParameter(random, program));
    m.lParam = randomParameter(random, program);
    if (!plain(m.message)) m.send = false;  // posting a pointer message fails
  } else if (kind < 55) {
    // WM_COMMAND, with the program's ids more often than not.
    const WORD id = random.below(3) != 0 ? static_cast<WORD>(random.pick(kRealIds))
                                         : static_cast<WORD>(random.below(0x10000));
    m.message = WM_COMMAND;
    m.wParam = MAKEWPARAM(id, random.below(2) == 0 ? 0 : random.pick(kNotifications));
    const uint32_t from = random.below(4);
    if (from == 0) {
      m.lParam = 0;
    } else if (from == 1) {
      // The control of that id where the target has one.
      HWND control = GetDlgItem(m.target, id);
      m.lParam = reinterpret_cast<LPARAM>(control);
    } else {
      m.lParam = randomParameter(random, program);
    }
  } else if (kind < 65 && program.tray != nullptr) {
    // The icon's callbacks, as Explorer posts them.
    m.target = program.tray;
    m.message = WM_APP + 1;
    m.wParam = random.below(4) == 0 ? static_cast<WPARAM>(randomParameter(random, program)) : 1;
    m.lParam = random.below(4) == 0 ? randomParameter(random, program) : random.pick(kIconEvents);
  } else {
    m.message = random.pick(kSystemMessages);
    m.wParam = static_cast<WPARAM>(randomParameter(random, program));
    m.lParam = randomParameter(random, program);
    switch (m.message) {
      case WM_SYSCOMMAND:
        m.wParam = random.pick(kSysCommands);
        break;
      case WM_KEYDOWN:
      case WM_SYSKEYDOWN:
      case WM_CHAR:
      case WM_SYSCHAR:
        m.wParam = random.pick(kKeys);
        break;
      case WM_NCLBUTTONDOWN:
        m.wParam = static_cast<WPARAM>(random.pick(kHitTests));
        break;
      case WM_SETTINGCHANGE:
      case WM_SETTEXT:
        // Copied across by the system: it must point at a text here.
        m.lParam = random.below(2) == 0 ? 0 : reinterpret_cast<LPARAM>(textBuffer);
        break;
      case WM_GETTEXT:
        m.wParam = 64;
        m.lParam = reinterpret_cast<LPARAM>(textBuffer);
        break;
      case WM_DPICHANGED:
        if (m.send) m.lParam = reinterpret_cast<LPARAM>(&rectBuffer);
        break;
      case WM_DEVICECHANGE:
        m.lParam = 0;
        break;
      default:
        break;
    }
    if (m.message == WM_TIMER && random.below(2) == 0) m.wParam = 1;  // the hook's timer
  }
  return m;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    fprintf(stderr, "usage: pqk_message_fuzz SEED COUNT [LOG]\n");
    return 2;
  }
  const uint64_t seed = strtoull(argv[1], nullptr, 0);
  const int count = atoi(argv[2]);
  FILE* log = argc > 3 ? fopen(argv[3], "a") : nullptr;
  Random random = {seed};
  int sent = 0;
  int posted = 0;
  int refused = 0;
  int mostBoxes = 0;
  Program program = findProgram();
  if (program.main == nullptr) {
    fprintf(stderr, "pqk_message_fuzz: the program is not running\n");
    return 1;
  }
  for (int i = 0; i < count; ++i) {
    // The windows change as the messages open and close dialogs.
    if (i % 8 == 0) program = findProgram();
    if (program.main == nullptr) {
      printf("seed %llu: the program is gone after %d messages\n",
             static_cast<unsigned long long>(seed), i);
      return 1;
    }
    const Message m = randomMessage(random, program);
    if (log != nullptr) {
      fprintf(log, "%d %s %p %04x %llx %llx\n", i, m.send ? "send" : "post",
              static_cast<void*>(m.target), m.message, static_cast<unsigned long long>(m.wParam),
              static_cast<unsigned long long>(m.lParam));
      fflush(log);
    }
    if (m.send) {
      DWORD_PTR result = 0;
      SendMessageTimeoutW(m.target, m.message, m.wParam, m.lParam, SMTO_ABORTIFHUNG, 300, &result);
      ++sent;
    } else if (PostMessageW(m.target, m.message, m.wParam, m.lParam)) {
      ++posted;
    } else {
      ++refused;
    }
    Program now;
    now.process = program.process;
    EnumWindows(countMessageBoxes, reinterpret_cast<LPARAM>(&now));
    if (now.messageBoxes > mostBoxes) mostBoxes = now.messageBoxes;
  }
  // The program must still answer.
  DWORD_PTR result = 0;
  Sleep(500);
  const bool alive =
      mainWindow() != nullptr &&
      SendMessageTimeoutW(mainWindow(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &result) != 0;
  printf(
      "seed %llu: %d messages, %d sent, %d posted, %d refused by the system; at most %d "
      "message box(es) at once; %s\n",
      static_cast<unsigned long long>(seed), count, sent, posted, refused, mostBoxes,
      alive ? "the program answers" : "the program does not answer");
  if (log != nullptr) fclose(log);
  return alive && mostBoxes <= 1 ? 0 : 1;
}
