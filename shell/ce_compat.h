// The Windows-CE-only calls the shell uses. On Windows CE they come straight
// from the platform (aygshell, regext); on desktop Windows this file supplies
// a stand-in for each that does what the callers expect.
#pragma once

#include <windows.h>

#ifdef _WIN32_WCE

#include <aygshell.h>
#include <regext.h>

// CE ignores the access mask of registry opens; the shell passes 0 as written.
constexpr REGSAM kRegReadAccess = 0;
constexpr REGSAM kRegWriteAccess = 0;
// Injected events: silent on CE (no key click).
constexpr DWORD kKeyEventDownFlags = KEYEVENTF_SILENT;
constexpr DWORD kKeyEventUpFlags = KEYEVENTF_SILENT | KEYEVENTF_KEYUP;

#else  // desktop Windows

// Desktop registry handles check their access mask.
constexpr REGSAM kRegReadAccess = KEY_QUERY_VALUE;
constexpr REGSAM kRegWriteAccess = KEY_SET_VALUE;
// Bit 4 is KEYEVENTF_UNICODE on desktop, not KEYEVENTF_SILENT: plain events.
constexpr DWORD kKeyEventDownFlags = 0;
constexpr DWORD kKeyEventUpFlags = KEYEVENTF_KEYUP;

// Sent by CE when memory runs low; never sent on desktop.
#define WM_HIBERNATE 0x03FF

// Registry change notification (regext.h on CE).
typedef struct RegistryWatcher* HREGNOTIFY;
// The same shape as CE's: the data is not to be written through.
typedef void (*REGISTRYNOTIFYCALLBACK)(HREGNOTIFY notification, DWORD userData, BYTE* data,
                                       UINT dataSize);
struct NOTIFICATIONCONDITION;

// Watches one value; `callback` runs on a watcher thread with the value's new
// bytes (null and 0 when the value is gone) each time they change. The
// condition is not supported: pass null. S_OK on success.
HRESULT RegistryNotifyCallback(HKEY root, const wchar_t* subKey, const wchar_t* valueName,
                               REGISTRYNOTIFYCALLBACK callback, DWORD userData,
                               NOTIFICATIONCONDITION* condition, HREGNOTIFY* notification);
// Stops the watcher; no callback runs after it returns.
HRESULT RegistryCloseNotification(HREGNOTIFY notification);

// Menu bar and dialog conventions (aygshell.h on CE).
#define SHCMBF_HMENU 0x0010
#define SHIDIM_FLAGS 0x0001
#define SHIDIF_DONEBUTTON 0x0001
#define SHIDIF_SIZEDLG 0x0002
#define SHIDIF_SIZEDLGFULLSCREEN 0x0004
#define SHIDIF_SIPDOWN 0x0008

struct SHMENUBARINFO {
  DWORD cbSize;
  HWND hwndParent;
  DWORD dwFlags;
  UINT nToolBarId;
  HINSTANCE hInstRes;
  int nBmpId;
  int cBmpImages;
  HWND hwndMB;
  COLORREF clrBk;
};

struct SHINITDLGINFO {
  DWORD dwMask;
  HWND hDlg;
  DWORD dwFlags;
};

struct SHACTIVATEINFO {
  DWORD cbSize;
  HWND hwndLastFocus;
  UINT fSipUp : 1;
  UINT fSipOnDeactivation : 1;
  UINT fActive : 1;
  UINT fReserved : 29;
};

// Gives the parent the menu resource nToolBarId as a plain window menu.
// hwndMB receives a hidden placeholder child that stands for the menu bar, so
// that destroying it is harmless; TRUE on success.
BOOL SHCreateMenuBar(SHMENUBARINFO* info);
// Desktop dialogs need no full-screen sizing or input panel: does nothing.
BOOL SHInitDialog(SHINITDLGINFO* info);
// No input panel to restore on desktop: does nothing, answers FALSE.
BOOL SHHandleWMActivate(HWND window, WPARAM wParam, LPARAM lParam, SHACTIVATEINFO* info,
                        DWORD flags);
BOOL SHHandleWMSettingChange(HWND window, WPARAM wParam, LPARAM lParam, SHACTIVATEINFO* info);
// Creates a shell link at `shortcutPath`. `target` is a program path, quoted
// when followed by arguments: "path" args. TRUE on success.
BOOL SHCreateShortcut(const wchar_t* shortcutPath, const wchar_t* target);

#endif
