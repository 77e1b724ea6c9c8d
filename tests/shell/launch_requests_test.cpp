// Programs started by keymap exec actions: only requests the program issued
// start, each once, and strings that cannot fit are never started.
#include "shell/launch_requests.h"

#include <gtest/gtest.h>

#include <string>

#include "shell/main_window.h"
#include "shell/shell_state.h"
#include "tests/shell/id_names.h"

namespace {

// The bytes of an exec record from its program path on.
std::string execStrings(const std::string& file, const std::string& parameters) {
  return file + '\0' + parameters + '\0';
}

class LaunchRequestsTest : public ::testing::Test {
 protected:
  void SetUp() override { clearLaunchRequests(); }
  void TearDown() override { clearLaunchRequests(); }
};

TEST_F(LaunchRequestsTest, IssuedRequestIsTakenOnceWithBothStrings) {
  std::string bytes = execStrings("\\Windows\\calc.exe", "-x 1");
  const uintptr_t token = issueLaunchRequest(bytes.c_str());
  ASSERT_NE(token, 0u);
  // The request is a copy: the record may be freed by a reload meanwhile.
  bytes.assign(bytes.size(), 'Z');
  LaunchRequest request;
  ASSERT_TRUE(takeLaunchRequest(token, request));
  EXPECT_STREQ(request.file, L"\\Windows\\calc.exe");
  EXPECT_STREQ(request.parameters, L"-x 1");
  EXPECT_FALSE(takeLaunchRequest(token, request));
}

TEST_F(LaunchRequestsTest, EmptyParametersStayAnEmptyString) {
  const std::string bytes = execStrings("notes.txt", "");
  LaunchRequest request;
  ASSERT_TRUE(takeLaunchRequest(issueLaunchRequest(bytes.c_str()), request));
  EXPECT_STREQ(request.file, L"notes.txt");
  EXPECT_STREQ(request.parameters, L"");
}

TEST_F(LaunchRequestsTest, TokensNotIssuedAreRefused) {
  const std::string bytes = execStrings("a.exe", "");
  const uintptr_t token = issueLaunchRequest(bytes.c_str());
  LaunchRequest request;
  for (uintptr_t forged :
       {uintptr_t{0}, uintptr_t{1}, token + 1, token - 1, token + 8, uintptr_t{0x12345678}}) {
    EXPECT_FALSE(takeLaunchRequest(forged, request)) << forged;
  }
  EXPECT_TRUE(takeLaunchRequest(token, request));
}

TEST_F(LaunchRequestsTest, StringsLimitedTo259UnitsAndTheirNul) {
  const std::string longest(259, 'a');
  const std::string tooLong(260, 'a');
  LaunchRequest request;
  ASSERT_TRUE(
      takeLaunchRequest(issueLaunchRequest(execStrings(longest, longest).c_str()), request));
  EXPECT_EQ(std::wstring(request.file), std::wstring(259, L'a'));
  EXPECT_EQ(std::wstring(request.parameters), std::wstring(259, L'a'));
  EXPECT_EQ(issueLaunchRequest(execStrings(tooLong, "").c_str()), 0u);
  EXPECT_EQ(issueLaunchRequest(execStrings("a.exe", tooLong).c_str()), 0u);
  // Far longer strings are refused without being read to their end.
  EXPECT_EQ(issueLaunchRequest(execStrings(std::string(5000, 'b'), "").c_str()), 0u);
  EXPECT_EQ(issueLaunchRequest(nullptr), 0u);
}

TEST_F(LaunchRequestsTest, OldestPendingRequestGivesWayToNewOnes) {
  uintptr_t tokens[9];
  for (int i = 0; i < 9; ++i) {
    tokens[i] = issueLaunchRequest(execStrings("p" + std::to_string(i), "").c_str());
  }
  LaunchRequest request;
  EXPECT_FALSE(takeLaunchRequest(tokens[0], request));
  for (int i = 1; i < 9; ++i) {
    ASSERT_TRUE(takeLaunchRequest(tokens[i], request)) << i;
    EXPECT_EQ(std::wstring(request.file), L"p" + std::to_wstring(i));
  }
}

// The engine's sink posts the token, not the record's address.
TEST_F(LaunchRequestsTest, SinkPostsATokenToTheMainWindow) {
  HWND window = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 10, 10, nullptr, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(window, nullptr);
  shellState.mainWnd = window;
  const std::string bytes = execStrings("viewer.exe", "file.txt");
  mainWindowCommandSink().postWindowCommand(kCommandRunProgram,
                                            reinterpret_cast<uintptr_t>(bytes.c_str()));
  mainWindowCommandSink().postWindowCommand(kCommandRotateScreen, 3);
  mainWindowCommandSink().postWindowCommand(
      kCommandRunProgram, reinterpret_cast<uintptr_t>(std::string(300, 'x').c_str()));

  MSG message;
  ASSERT_TRUE(PeekMessageW(&message, window, WM_COMMAND, WM_COMMAND, PM_REMOVE));
  EXPECT_EQ(NamedId(message.wParam), NamedId(kCommandRunProgram));
  EXPECT_NE(static_cast<uintptr_t>(message.lParam), reinterpret_cast<uintptr_t>(bytes.c_str()));
  LaunchRequest request;
  ASSERT_TRUE(takeLaunchRequest(static_cast<uintptr_t>(message.lParam), request));
  EXPECT_STREQ(request.file, L"viewer.exe");
  EXPECT_STREQ(request.parameters, L"file.txt");

  ASSERT_TRUE(PeekMessageW(&message, window, WM_COMMAND, WM_COMMAND, PM_REMOVE));
  EXPECT_EQ(NamedId(message.wParam), NamedId(kCommandRotateScreen));
  EXPECT_EQ(message.lParam, 3);
  // The string too long to convert was never posted.
  EXPECT_FALSE(PeekMessageW(&message, window, WM_COMMAND, WM_COMMAND, PM_REMOVE));
  DestroyWindow(window);
  shellState.mainWnd = nullptr;
}

}  // namespace
