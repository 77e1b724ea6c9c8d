// A fresh shell state for each test of the program's windows and dialogs,
// with recording doubles for key output, the IME and keymap messages.
//
// How to write a test here: these tests run under wine and cover what only
// Win32 shows (windows, dialogs, the registry, the hook's plumbing). Drive
// the real dialogs with sendCommand and setCheck and read the controls back;
// what the engine makes of a key is tested in tests/engine, not again here.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "engine/engine_state.h"
#include "shell/shell_state.h"
#include "tests/support/test_doubles.h"

class ShellAppTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // A hidden top-level window to hold the settings dialog.
  HWND makeParentWindow();
  // The real dialogs, created from the program's resources.
  HWND openSettingsDialog();
  HWND openAdvancedDialog();

  RecordingKeyOutput keys;
  ScriptedIme ime;
  std::vector<HWND> windows;
};

// Keymap compiler messages shown since the test began (UTF-8), their owners,
// and what a test does while such a message is up.
extern std::vector<std::string> keymapMessages;
extern std::vector<HWND> keymapMessageOwners;
extern void (*whileKeymapMessageShown)();

// The program's other message boxes since the test began, with their owners.
struct ShownMessage {
  HWND owner;
  std::wstring text;
};
extern std::vector<ShownMessage> programMessages;

// Sends a control's WM_COMMAND to its dialog, as a click or edit would.
void sendCommand(HWND dialog, int id, int notification = BN_CLICKED);
void setCheck(HWND dialog, int id, bool checked);
bool isEnabled(HWND dialog, int id);
std::wstring controlText(HWND dialog, int id);

// Writes `text` to a file; true on success.
bool writeTextFile(const std::wstring& path, const std::string& text);
// A keymap file text that fills slot 4 with twelve one-action toggle keys.
std::string slotFourKeymap();
