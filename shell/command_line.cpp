#include "shell/command_line.h"

#include "shell/shell_state.h"

namespace {

bool isBlank(wchar_t c) {
  return c == L' ' || c == L'\t';
}

}  // namespace

uint32_t commandLineSwitches(const wchar_t* commandLine) {
  uint32_t flags = 0;
  if (commandLine == nullptr) return 0;
  const wchar_t* p = commandLine;
  while (*p != 0) {
    if (isBlank(*p)) {
      ++p;
      continue;
    }
    if ((*p == L'-' || *p == L'/') && p[1] != 0) {
      // Only the letter right after the dash counts: -close is -c.
      const wchar_t letter = static_cast<wchar_t>(p[1] | 0x20);
      if (letter == L'c') flags |= kAppCloseRequested;
      if (letter == L's') flags |= kAppStartHidden;
    }
    // The rest of the word, switch or not, is passed over.
    while (*p != 0 && !isBlank(*p)) ++p;
  }
  return flags;
}

void parseCommandLine(const wchar_t* commandLine) {
  shellState.appFlags |= commandLineSwitches(commandLine);
}
