// The command-line switches c and s.
#include "shell/command_line.h"

#include <gtest/gtest.h>

#include "shell/shell_state.h"

namespace {

struct SwitchCase {
  const wchar_t* commandLine;
  uint32_t flags;
};

TEST(CommandLineTest, SwitchesByTheirFirstLetter) {
  const SwitchCase cases[] = {
      {L"", 0},
      {L"-S", kAppStartHidden},
      {L"/s", kAppStartHidden},
      {L"-s", kAppStartHidden},
      {L"-c", kAppCloseRequested},
      {L"/C", kAppCloseRequested},
      {L"-Cx", kAppCloseRequested},
      {L"-close", kAppCloseRequested},
      {L"-x", 0},
      {L"-sc", kAppStartHidden},
      {L"-cs", kAppCloseRequested},
      {L"-s -c", kAppStartHidden | kAppCloseRequested},
      {L"  \t/c\t\t-S  ", kAppStartHidden | kAppCloseRequested},
      {L"s c", 0},
      {L"word -s", kAppStartHidden},
      {L"a-c -s", kAppStartHidden},
      {L"-", 0},
      {L"- c", 0},
      {L"-\ts", 0},
      {L"/", 0},
      {L"\"C:\\Program Files\\x\\file.txt\" /s", kAppStartHidden},
  };
  for (const SwitchCase& c : cases) {
    EXPECT_EQ(commandLineSwitches(c.commandLine), c.flags)
        << "command line: [" << c.commandLine << "]";
  }
  EXPECT_EQ(commandLineSwitches(nullptr), 0u);
}

TEST(CommandLineTest, ParseAddsTheBitsToAppFlags) {
  shellState.appFlags = kAppSettingsDirty;
  parseCommandLine(L"-s /c");
  EXPECT_EQ(shellState.appFlags, kAppSettingsDirty | kAppStartHidden | kAppCloseRequested);
  shellState.appFlags = 0;
  parseCommandLine(L"-x other words");
  EXPECT_EQ(shellState.appFlags, 0u);
}

}  // namespace
