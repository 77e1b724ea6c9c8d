#include "shell/launch_file.h"

#include <windows.h>
// windows.h first: shellapi.h needs its types.
#include <shellapi.h>

void launchFile(const wchar_t* file, const wchar_t* parameters) {
  SHELLEXECUTEINFOW info = {};
  info.cbSize = sizeof(info);
  info.lpFile = file;
  info.lpParameters = parameters;
  ShellExecuteExW(&info);
}
