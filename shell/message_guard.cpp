#include "shell/message_guard.h"

#ifndef _WIN32_WCE

namespace {

// Carries a queued message to its window on the program's own turn; wParam
// is the entry's token.
constexpr UINT kRunQueuedMessage = WM_APP + 0x3FFF;
// Posted by the system's timers of its own controls (caret, scrolling).
constexpr UINT kSystemTimerMessage = 0x0118;

struct GuardedEntry {
  HWND window = nullptr;
  GuardedWindow kind = GuardedWindow::kMainWindow;
  UINT callbackMessage = 0;
};

// The main window, the icon's window, the settings dialog and one modal
// dialog over it, with room to spare.
GuardedEntry guarded[8];

struct QueuedMessage {
  uint32_t token = 0;
  HWND window = nullptr;
  UINT message = 0;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
};

// A sender that floods the program fills the queue; what does not fit is
// dropped, and a message already waiting is not queued twice.
QueuedMessage queue[16];
uint32_t lastToken = 0;

HHOOK postedMessageHook = nullptr;
bool quitPosted = false;

const GuardedEntry* findGuarded(HWND window) {
  if (window == nullptr) return nullptr;
  for (const GuardedEntry& entry : guarded) {
    if (entry.window == window) return &entry;
  }
  return nullptr;
}

UINT taskbarCreatedMessage() {
  static const UINT message = RegisterWindowMessageW(L"TaskbarCreated");
  return message;
}

bool isKeyMessage(UINT message) {
  return message >= WM_KEYFIRST && message <= WM_KEYLAST;
}

bool isMouseMessage(UINT message) {
  return (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) ||
         (message >= WM_NCMOUSEMOVE && message <= WM_NCXBUTTONDBLCLK);
}

// Key-downs, button-downs and Alt characters: what acts on a dialog or menu.
bool needsInputDown(UINT message) {
  switch (message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_SYSCHAR:
    case WM_SYSDEADCHAR:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
    case WM_XBUTTONDOWN:
    case WM_XBUTTONDBLCLK:
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
    case WM_NCRBUTTONDOWN:
    case WM_NCRBUTTONDBLCLK:
    case WM_NCMBUTTONDOWN:
    case WM_NCMBUTTONDBLCLK:
    case WM_NCXBUTTONDOWN:
    case WM_NCXBUTTONDBLCLK:
      return true;
    default:
      return false;
  }
}

bool isDown(int virtualKey) {
  return GetKeyState(virtualKey) < 0;
}

// Real input is taken from the input queue, which sets the thread's key and
// button state as it goes; a posted imitation finds the key up.
bool inputIsDown(const MSG& message) {
  switch (message.message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: {
      const int key = static_cast<int>(message.wParam & 0xFF);
      // Keys the IME took, and characters typed by SendInput, have no key of
      // their own.
      if (key == VK_PROCESSKEY || key == VK_PACKET) return true;
      return isDown(key);
    }
    case WM_SYSCHAR:
    case WM_SYSDEADCHAR:
      return isDown(VK_MENU);
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
      return isDown(VK_LBUTTON);
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_NCRBUTTONDOWN:
    case WM_NCRBUTTONDBLCLK:
      return isDown(VK_RBUTTON);
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
    case WM_NCMBUTTONDOWN:
    case WM_NCMBUTTONDBLCLK:
      return isDown(VK_MBUTTON);
    case WM_XBUTTONDOWN:
    case WM_XBUTTONDBLCLK:
    case WM_NCXBUTTONDOWN:
    case WM_NCXBUTTONDBLCLK:
      return isDown(HIWORD(message.wParam) == XBUTTON2 ? VK_XBUTTON2 : VK_XBUTTON1);
    default:
      return true;
  }
}

bool acceptedSystemCommand(WPARAM wParam) {
  switch (wParam & 0xFFF0) {
    // Posted by the system for a window manager's close, minimize and restore.
    case SC_CLOSE:
    case SC_MINIMIZE:
    case SC_RESTORE:
      return true;
    default:
      return false;
  }
}

// System messages that may reach these windows through the queue: input,
// painting, timers without a callback, notices of changes to the system.
bool acceptedPostedSystemMessage(UINT message) {
  if (isKeyMessage(message) || isMouseMessage(message)) return true;
  if ((message >= WM_IME_STARTCOMPOSITION && message <= WM_IME_KEYLAST) ||
      (message >= WM_IME_SETCONTEXT && message <= WM_IME_KEYUP)) {
    return true;
  }
  switch (message) {
    case WM_NULL:
    case WM_PAINT:
    case WM_CLOSE:
    case WM_QUERYENDSESSION:
    case WM_ENDSESSION:
    case WM_SETTINGCHANGE:
    case WM_DISPLAYCHANGE:
    case WM_TIMECHANGE:
    case WM_FONTCHANGE:
    case WM_SYSCOLORCHANGE:
    case WM_THEMECHANGED:
    case WM_POWERBROADCAST:
    case WM_CANCELMODE:
    case WM_INPUTLANGCHANGEREQUEST:
    case WM_CHANGEUISTATE:
    case WM_UPDATEUISTATE:
    case WM_MOUSEHOVER:
    case WM_MOUSELEAVE:
    case WM_NCMOUSEHOVER:
    case WM_NCMOUSELEAVE:
      return true;
    default:
      return false;
  }
}

void queueMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  QueuedMessage* free = nullptr;
  for (QueuedMessage& entry : queue) {
    if (entry.token == 0) {
      if (free == nullptr) free = &entry;
      continue;
    }
    if (entry.window == window && entry.message == message && entry.wParam == wParam &&
        entry.lParam == lParam) {
      return;
    }
  }
  if (free == nullptr) return;
  if (lastToken == 0) lastToken = GetTickCount() | 1;
  ++lastToken;
  if (lastToken == 0) ++lastToken;
  *free = {lastToken, window, message, wParam, lParam};
  if (!PostMessageW(window, kRunQueuedMessage, lastToken, 0)) *free = QueuedMessage();
}

// The queued message of `token`, sent to its window from the program's own
// thread; 0 for a token the guard did not issue for this window.
LRESULT runQueuedMessage(HWND window, WPARAM token) {
  for (QueuedMessage& entry : queue) {
    if (entry.token == 0 || entry.token != token || entry.window != window) continue;
    const QueuedMessage taken = entry;
    entry = QueuedMessage();
    return SendMessageW(taken.window, taken.message, taken.wParam, taken.lParam);
  }
  return 0;
}

bool sentByAnotherThread() {
  return (InSendMessageEx(nullptr) & (ISMEX_SEND | ISMEX_NOTIFY | ISMEX_CALLBACK)) != 0;
}

void neutralize(MSG& message) {
  message.message = WM_NULL;
  message.wParam = 0;
  message.lParam = 0;
}

LRESULT CALLBACK postedMessageHookProc(int code, WPARAM removal, LPARAM data) {
  if (code == HC_ACTION) {
    MSG& message = *reinterpret_cast<MSG*>(data);
    if (message.message == WM_QUIT) {
      // Only the quit the program asks for ends its loop.
      if (!quitPosted) neutralize(message);
    } else if (const GuardedEntry* entry = findGuarded(message.hwnd)) {
      // The key state follows the input as it is taken from the queue; a
      // look that leaves it there (a menu's loop) cannot be checked so.
      const bool taken = (removal & PM_REMOVE) != 0;
      const bool down = !needsInputDown(message.message) || !taken || inputIsDown(message);
      if (!acceptsPostedMessage(entry->kind, entry->callbackMessage, message.message,
                                message.wParam, message.lParam, down)) {
        neutralize(message);
      }
    }
  }
  return CallNextHookEx(postedMessageHook, code, removal, data);
}

}  // namespace

void guardWindow(HWND window, GuardedWindow kind, UINT callbackMessage) {
  if (window == nullptr || findGuarded(window) != nullptr) return;
  for (GuardedEntry& entry : guarded) {
    if (entry.window == nullptr) {
      entry = {window, kind, callbackMessage};
      return;
    }
  }
}

void unguardWindow(HWND window) {
  for (GuardedEntry& entry : guarded) {
    if (entry.window == window) entry = GuardedEntry();
  }
  for (QueuedMessage& entry : queue) {
    if (entry.window == window) entry = QueuedMessage();
  }
}

bool installMessageGuard() {
  quitPosted = false;
  if (postedMessageHook != nullptr) return true;
  postedMessageHook =
      SetWindowsHookExW(WH_GETMESSAGE, postedMessageHookProc, nullptr, GetCurrentThreadId());
  return postedMessageHook != nullptr;
}

void removeMessageGuard() {
  if (postedMessageHook != nullptr) UnhookWindowsHookEx(postedMessageHook);
  postedMessageHook = nullptr;
}

void postProgramQuit() {
  quitPosted = true;
  PostQuitMessage(0);
}

bool programQuitPosted() {
  return quitPosted;
}

ForeignMessage foreignMessageRule(GuardedWindow kind, UINT callbackMessage, UINT message,
                                  WPARAM wParam) {
  if (isKeyMessage(message) || isMouseMessage(message)) return ForeignMessage::kRefuse;
  const bool main = kind == GuardedWindow::kMainWindow;
  switch (message) {
    case WM_CLOSE:
      return ForeignMessage::kQueue;
    case WM_SYSCOMMAND:
      return (wParam & 0xFFF0) == SC_CLOSE ? ForeignMessage::kQueue : ForeignMessage::kRefuse;
    // What the main window acts on from outside.
    case WM_ACTIVATE:
    case WM_SETTINGCHANGE:
    case WM_DISPLAYCHANGE:
    case WM_IME_NOTIFY:
      return main ? ForeignMessage::kQueue : ForeignMessage::kPass;
    // Only the program's own thread makes, commands, times, ends or reshapes
    // its windows.
    case WM_CREATE:
    case WM_NCCREATE:
    case WM_DESTROY:
    case WM_NCDESTROY:
    case WM_QUIT:
    case WM_COMMAND:
    case WM_TIMER:
    case kSystemTimerMessage:
    case WM_SETREDRAW:
    case WM_SHOWWINDOW:
    case WM_SETTEXT:
    case WM_SETICON:
    case WM_SETFONT:
    case WM_NEXTDLGCTL:
    case WM_INITDIALOG:
    case WM_DPICHANGED:
    case WM_CONTEXTMENU:
    case WM_HOTKEY:
    case WM_INITMENU:
    case WM_INITMENUPOPUP:
    case WM_MENUSELECT:
    case WM_MENUCHAR:
    case WM_MENUCOMMAND:
    case WM_ENTERMENULOOP:
    case WM_EXITMENULOOP:
      return ForeignMessage::kRefuse;
    default:
      break;
  }
  if (callbackMessage != 0 && message == callbackMessage) return ForeignMessage::kQueue;
  if (kind == GuardedWindow::kTrayWindow && message == taskbarCreatedMessage()) {
    return ForeignMessage::kQueue;
  }
  // The windows' private messages (a dialog's DM_*): none from outside.
  if (message >= WM_USER && message < 0xC000) return ForeignMessage::kRefuse;
  return ForeignMessage::kPass;
}

bool acceptsPostedMessage(GuardedWindow kind, UINT callbackMessage, UINT message, WPARAM wParam,
                          LPARAM lParam, bool inputDown) {
  if (message == kRunQueuedMessage) return true;  // checked by its token
  if (message >= 0xC000) return true;             // registered messages, TaskbarCreated
  if (message >= WM_USER) return callbackMessage != 0 && message == callbackMessage;
  if (needsInputDown(message) && !inputDown) return false;
  switch (message) {
    case WM_COMMAND:
      // The main window checks its own commands: menu commands, a second
      // instance's, and the engine's, which the hook thread posts with a
      // token or a step that the window knows. A dialog gets OK and cancel
      // from its own close (DefDlgProc posts IDCANCEL).
      if (kind == GuardedWindow::kMainWindow) return true;
      if (kind == GuardedWindow::kDialog) {
        return LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL;
      }
      return false;
    case WM_SYSCOMMAND:
      return acceptedSystemCommand(wParam);
    case WM_TIMER:
    case kSystemTimerMessage:
      // A timer message with an address would be called by DispatchMessage.
      return lParam == 0;
    default:
      return acceptedPostedSystemMessage(message);
  }
}

bool guardMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  const GuardedEntry* entry = findGuarded(window);
  if (entry == nullptr) return false;
  if (sentByAnotherThread()) {
    switch (foreignMessageRule(entry->kind, entry->callbackMessage, message, wParam)) {
      case ForeignMessage::kPass:
        return false;
      case ForeignMessage::kRefuse:
        result = 0;
        return true;
      case ForeignMessage::kQueue:
        // The text a setting change may point at is the sender's, gone once
        // the call returns; the program does not read it.
        queueMessage(window, message, wParam, message == WM_SETTINGCHANGE ? 0 : lParam);
        result = 0;
        return true;
    }
  }
  if (message == kRunQueuedMessage) {
    result = runQueuedMessage(window, wParam);
    return true;
  }
  return false;
}

bool guardDialogMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (!guardMessage(dialog, message, wParam, lParam, result)) return false;
  SetWindowLongPtrW(dialog, DWLP_MSGRESULT, result);
  return true;
}

bool isControlCommand(HWND dialog, WPARAM wParam, LPARAM lParam) {
  const int id = LOWORD(wParam);
  if (id == IDOK || id == IDCANCEL) return true;
  return lParam != 0 && GetDlgItem(dialog, id) == reinterpret_cast<HWND>(lParam);
}

#endif
