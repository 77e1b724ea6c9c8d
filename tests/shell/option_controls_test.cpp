// The option controls of the real settings and advanced dialogs: every row of
// the shared command handling, control enabling by mode, the auto-start
// buttons and the keymap path field.
#include "shell/option_controls.h"

#include <cwchar>
#include <string>

#include "engine/option_table.h"
#include "shell/ime_label.h"
#include "shell/keymap_loading.h"
#include "shell/resource_ids.h"
#include "shell/settings_store.h"
#include "shell/utf8_text.h"
#include "tests/shell/app_test_support.h"
#include "tests/shell/id_names.h"

namespace {

constexpr int kModeDependent[] = {IDC_NICO_TOUCH,         IDC_IME_CONTROL, IDC_AUTO_ADVANCE,
                                  IDC_ADVANCE_AFTER_STEP, IDC_TIMEOUT,     IDC_AUTO_CAPSLOCK};

class OptionControlsTest : public ShellAppTest {
 protected:
  EngineState& engine() { return shellState.engine; }
  bool dirty() const { return (shellState.appFlags & kAppSettingsDirty) != 0; }
  void clearDirty() { shellState.appFlags &= ~uint32_t{kAppSettingsDirty}; }
};

TEST_F(OptionControlsTest, InitShowsTheCurrentState) {
  engine().options = kOptionKanaToggle | kOptionAutoAdvance | kOptionImeControl |
                     rotationBehaviourBits(kRotationStandardKana) | kOptionSwapEscHankaku;
  engine().timeoutMs = 750;
  wcscpy(shellState.keymapPath, L"C:\\maps\\my.txt");
  HWND settings = openSettingsDialog();
  ASSERT_NE(settings, nullptr);
  EXPECT_EQ(shellState.settingsDialog, settings);
  EXPECT_EQ(IsDlgButtonChecked(settings, IDC_MODE_KANA_TOGGLE), BST_CHECKED);
  EXPECT_EQ(IsDlgButtonChecked(settings, IDC_MODE_NONE), BST_UNCHECKED);
  EXPECT_EQ(IsDlgButtonChecked(settings, IDC_AUTO_ADVANCE), BST_CHECKED);
  EXPECT_EQ(IsDlgButtonChecked(settings, IDC_IME_CONTROL), BST_CHECKED);
  EXPECT_EQ(IsDlgButtonChecked(settings, IDC_AUTO_CAPSLOCK), BST_UNCHECKED);
  EXPECT_EQ(controlText(settings, IDC_TIMEOUT), L"750");
  EXPECT_EQ(controlText(settings, IDC_IME_LABEL), L"IME OFF");
  EXPECT_EQ(engine().activeKeymap, 4);
  EXPECT_FALSE(dirty());  // filling the fields changes nothing

  HWND advanced = openAdvancedDialog();
  ASSERT_NE(advanced, nullptr);
  EXPECT_EQ(IsDlgButtonChecked(advanced, IDC_SWAP_ESC_HANKAKU), BST_CHECKED);
  EXPECT_EQ(IsDlgButtonChecked(advanced, IDC_SWAP_CTRL_CAPS), BST_UNCHECKED);
  EXPECT_EQ(controlText(advanced, IDC_KEYMAP_PATH), L"C:\\maps\\my.txt");
  ASSERT_EQ(SendDlgItemMessageW(advanced, IDC_ROTATION_BEHAVIOUR, CB_GETCOUNT, 0, 0), 4);
  for (int i = 0; i < 4; ++i) {
    wchar_t text[64] = {};
    SendDlgItemMessageW(advanced, IDC_ROTATION_BEHAVIOUR, CB_GETLBTEXT, i,
                        reinterpret_cast<LPARAM>(text));
    EXPECT_EQ(text, wideFromUtf8(kRotationBehaviourLabels[i])) << i;
  }
  EXPECT_EQ(SendDlgItemMessageW(advanced, IDC_ROTATION_BEHAVIOUR, CB_GETCURSEL, 0, 0), 2);
  EXPECT_FALSE(dirty());
}

TEST_F(OptionControlsTest, ImeLabelFollowsTheImeFromTheStart) {
  ime.open = true;
  HWND settings = openSettingsDialog();
  EXPECT_EQ(controlText(settings, IDC_IME_LABEL), L"IME ON");
  ime.open = false;
  refreshImeLabel();
  EXPECT_EQ(controlText(settings, IDC_IME_LABEL), L"IME OFF");
  // Kana input: the IME reads the keys as the kana printed on them.
  ime.open = true;
  ime.conversion = 0x09;
  refreshImeLabel();
  EXPECT_EQ(controlText(settings, IDC_IME_LABEL), L"IME ON(かな入力)");
  // An IME that does not answer is what it was last known to be.
  ime.answersOpen = false;
  refreshImeLabel();
  EXPECT_EQ(controlText(settings, IDC_IME_LABEL), L"IME ON(かな入力)");
  ime.answersOpen = true;
  ime.conversion = 0x19;  // roman input again
  refreshImeLabel();
  EXPECT_EQ(controlText(settings, IDC_IME_LABEL), L"IME ON");
}

TEST_F(OptionControlsTest, OpeningTheAdvancedDialogRefreshesTheImeLabel) {
  HWND settings = openSettingsDialog();
  EXPECT_EQ(controlText(settings, IDC_IME_LABEL), L"IME OFF");
  ime.open = true;
  openAdvancedDialog();
  EXPECT_EQ(controlText(settings, IDC_IME_LABEL), L"IME ON");
}

TEST_F(OptionControlsTest, ImeSwitchShowsTheNewStateAtOnce) {
  HWND settings = openSettingsDialog();
  sendCommand(settings, IDC_SWITCH_IME);
  EXPECT_TRUE(ime.open);
  EXPECT_EQ(controlText(settings, IDC_IME_LABEL), L"IME ON");
}

TEST_F(OptionControlsTest, KanaToggleRadioSelectsItsModeSlotAndControls) {
  engine().options |= kOptionTwoTouch;
  HWND settings = openSettingsDialog();
  clearDirty();
  CheckRadioButton(settings, IDC_MODE_NONE, IDC_MODE_TWO_TOUCH, IDC_MODE_KANA_TOGGLE);
  EXPECT_TRUE(handleOptionCommand(settings, IDC_MODE_KANA_TOGGLE));
  EXPECT_EQ(engine().options & (kOptionKanaToggle | kOptionTwoTouch), uint32_t{kOptionKanaToggle});
  EXPECT_EQ(engine().activeKeymap, 4);
  EXPECT_TRUE(dirty());
  for (int id : {IDC_AUTO_ADVANCE, IDC_ADVANCE_AFTER_STEP, IDC_TIMEOUT, IDC_IME_CONTROL,
                 IDC_AUTO_CAPSLOCK}) {
    EXPECT_TRUE(isEnabled(settings, id)) << idName(id);
  }
  EXPECT_FALSE(isEnabled(settings, IDC_NICO_TOUCH));
}

TEST_F(OptionControlsTest, TwoTouchRadioEnablesNicoTouch) {
  HWND settings = openSettingsDialog();
  sendCommand(settings, IDC_MODE_TWO_TOUCH);
  EXPECT_EQ(engine().options & (kOptionKanaToggle | kOptionTwoTouch), uint32_t{kOptionTwoTouch});
  EXPECT_EQ(engine().activeKeymap, 0);
  for (int id : {IDC_NICO_TOUCH, IDC_IME_CONTROL, IDC_AUTO_CAPSLOCK}) {
    EXPECT_TRUE(isEnabled(settings, id)) << idName(id);
  }
  for (int id : {IDC_AUTO_ADVANCE, IDC_ADVANCE_AFTER_STEP, IDC_TIMEOUT}) {
    EXPECT_FALSE(isEnabled(settings, id)) << idName(id);
  }
}

TEST_F(OptionControlsTest, NoModeDisablesAllSixAndKeepsTheSlot) {
  engine().options |= kOptionKanaToggle;
  HWND settings = openSettingsDialog();
  engine().activeKeymap = 4;
  sendCommand(settings, IDC_MODE_NONE);
  EXPECT_EQ(engine().options & (kOptionKanaToggle | kOptionTwoTouch), 0u);
  EXPECT_EQ(engine().activeKeymap, 4);
  for (int id : kModeDependent) EXPECT_FALSE(isEnabled(settings, id)) << idName(id);
  EXPECT_TRUE(dirty());
}

TEST_F(OptionControlsTest, RadioReselectsTheSlotEvenWhenAlreadyChosen) {
  engine().options |= kOptionKanaToggle;
  HWND settings = openSettingsDialog();
  engine().activeKeymap = 7;
  engine().toggleKey = keyCodeOf(2);
  sendCommand(settings, IDC_MODE_KANA_TOGGLE);
  EXPECT_EQ(engine().activeKeymap, 4);
  EXPECT_EQ(engine().toggleKey, 0);
}

TEST_F(OptionControlsTest, EveryCheckBoxSetsAndClearsItsBit) {
  HWND settings = openSettingsDialog();
  HWND advanced = openAdvancedDialog();
  for (const OptionRow& row : kOptionTable) {
    if (row.control != OptionControl::kCheckBox) continue;
    const int id = row.controlId;
    HWND dialog = GetDlgItem(settings, id) != nullptr ? settings : advanced;
    ASSERT_NE(GetDlgItem(dialog, id), nullptr) << idName(id);
    const uint32_t others = engine().options & ~row.bits;
    setCheck(dialog, id, true);
    clearDirty();
    EXPECT_TRUE(handleOptionCommand(dialog, id)) << idName(id);
    EXPECT_EQ(engine().options, others | row.bits) << idName(id);
    EXPECT_TRUE(dirty()) << idName(id);
    setCheck(dialog, id, false);
    clearDirty();
    sendCommand(dialog, id);  // through the dialog procedure
    EXPECT_EQ(engine().options, others) << idName(id);
    EXPECT_TRUE(dirty()) << idName(id);
  }
}

TEST_F(OptionControlsTest, CheckBoxMarksDirtyEvenWhenNothingChanged) {
  HWND settings = openSettingsDialog();
  const uint32_t before = engine().options;
  clearDirty();
  for (int click = 0; click < 2; ++click) {
    setCheck(settings, IDC_AUTO_ADVANCE, click == 0);
    sendCommand(settings, IDC_AUTO_ADVANCE);
  }
  EXPECT_EQ(engine().options, before);
  EXPECT_TRUE(dirty());
}

TEST_F(OptionControlsTest, NumericKeypadBoxSwitchesTheKeypadKeysAtOnce) {
  engine().options |= kOptionKanaToggle;
  HWND advanced = openAdvancedDialog();
  EXPECT_EQ(IsDlgButtonChecked(advanced, IDC_NUMERIC_KEYPAD), BST_UNCHECKED);  // off by default
  engine().toggleKey = keyCodeOf(1);
  setCheck(advanced, IDC_NUMERIC_KEYPAD, true);
  sendCommand(advanced, IDC_NUMERIC_KEYPAD);
  EXPECT_EQ(engine().vkMap[0x62], 258);  // numeric keypad 2
  EXPECT_EQ(engine().vkMap[0x32], 0);    // the digit 2 is the system's
  EXPECT_EQ(engine().toggleKey, 0);
  setCheck(advanced, IDC_NUMERIC_KEYPAD, false);
  sendCommand(advanced, IDC_NUMERIC_KEYPAD);
  EXPECT_EQ(engine().vkMap[0x62], 0);
  EXPECT_EQ(engine().vkMap[0x32], 258);
  // Stored, the choice comes back with the next start's first load.
  engine().options |= kOptionNumericKeypad;
  loadKeymapInteractive(nullptr, false);
  EXPECT_EQ(engine().vkMap[0x62], 258);
}

TEST_F(OptionControlsTest, NicoTouchSwitchesTheTwoTouchSlotAtOnce) {
  engine().options |= kOptionTwoTouch;
  HWND settings = openSettingsDialog();
  EXPECT_EQ(engine().activeKeymap, 0);
  setCheck(settings, IDC_NICO_TOUCH, true);
  sendCommand(settings, IDC_NICO_TOUCH);
  EXPECT_EQ(engine().activeKeymap, 2);
  setCheck(settings, IDC_NICO_TOUCH, false);
  sendCommand(settings, IDC_NICO_TOUCH);
  EXPECT_EQ(engine().activeKeymap, 0);
}

TEST_F(OptionControlsTest, TimeoutFieldTakesOnlyAWholeNumberFromOne) {
  engine().options |= kOptionKanaToggle;
  HWND settings = openSettingsDialog();
  // Each row follows the one before: a text that is not taken leaves the
  // timeout as the rows before stored it.
  const struct {
    const wchar_t* text;
    int32_t timeout;
    bool dirty;
  } cases[] = {
      {L"12", 12, true},
      {L"12", 12, false},
      {L"12a", 12, false},
      {L"", 12, false},
      {L"abc", 12, false},
      {L" -5", 12, false},
      {L"-5", 12, false},
      {L"0", 12, false},
      {L"000", 12, false},
      {L"1500", 1500, true},
      {L"1500", 1500, false},
      {L" 42", 1500, false},
      {L"７５０", 750, true},  // full-width digits, as the IME types them
      {L"0100", 100, true},
      {L"2147483647", 2147483647, true},
      {L"2147483648", 2147483647, false},
      {L"99999999999999999999", 2147483647, false},
      {L"1", 1, true},
  };
  for (const auto& c : cases) {
    clearDirty();
    SetDlgItemTextW(settings, IDC_TIMEOUT, c.text);  // its EN_CHANGE runs the row too
    EXPECT_TRUE(handleOptionCommand(settings, IDC_TIMEOUT, EN_CHANGE));
    EXPECT_EQ(engine().timeoutMs, c.timeout) << c.text;
    EXPECT_EQ(dirty(), c.dirty) << c.text;
  }
  // A text longer than 30 characters is not read in part.
  SetDlgItemTextW(settings, IDC_TIMEOUT, (std::wstring(29, L'0') + L"97").c_str());
  handleOptionCommand(settings, IDC_TIMEOUT, EN_CHANGE);
  EXPECT_EQ(engine().timeoutMs, 1);
  // Leaving the field with a text that was not taken shows the stored value.
  for (const wchar_t* text : {L"", L"0", L"12a"}) {
    SetDlgItemTextW(settings, IDC_TIMEOUT, text);
    EXPECT_EQ(controlText(settings, IDC_TIMEOUT), text);  // no change while typing
    sendCommand(settings, IDC_TIMEOUT, EN_KILLFOCUS);
    EXPECT_EQ(controlText(settings, IDC_TIMEOUT), L"1") << text;
    EXPECT_EQ(engine().timeoutMs, 1) << text;
  }
  SetDlgItemTextW(settings, IDC_TIMEOUT, L"0100");
  sendCommand(settings, IDC_TIMEOUT, EN_KILLFOCUS);
  EXPECT_EQ(controlText(settings, IDC_TIMEOUT), L"0100");  // taken as typed
  EXPECT_EQ(engine().timeoutMs, 100);
}

TEST_F(OptionControlsTest, RotationComboStoresANewBehaviourOnly) {
  engine().options |= kOptionKanaToggle | rotationBehaviourBits(kRotationDoNothing);
  engine().screenRotated = true;
  HWND advanced = openAdvancedDialog();
  clearDirty();
  engine().activeKeymap = 9;
  sendCommand(advanced, IDC_ROTATION_BEHAVIOUR, CBN_SELCHANGE);  // entry 3 again
  EXPECT_FALSE(dirty());
  EXPECT_EQ(engine().activeKeymap, 9);
  SendDlgItemMessageW(advanced, IDC_ROTATION_BEHAVIOUR, CB_SETCURSEL, 0, 0);
  sendCommand(advanced, IDC_ROTATION_BEHAVIOUR, CBN_SELCHANGE);
  EXPECT_EQ(rotationBehaviour(engine().options), 0u);
  EXPECT_EQ(engine().activeKeymap, 6);  // turned screen, behaviour 0
  EXPECT_TRUE(dirty());
}

TEST_F(OptionControlsTest, CommandsForControlsADialogLacksChangeNothing) {
  engine().options |= kOptionKanaToggle | kOptionAutoAdvance;
  engine().timeoutMs = 800;
  HWND advanced = openAdvancedDialog();
  clearDirty();
  for (int id : {IDC_TIMEOUT, IDC_AUTO_ADVANCE, IDC_MODE_NONE, IDC_NICO_TOUCH}) {
    EXPECT_TRUE(handleOptionCommand(advanced, id)) << idName(id);
  }
  EXPECT_EQ(engine().timeoutMs, 800);
  EXPECT_EQ(engine().options & (kOptionKanaToggle | kOptionAutoAdvance),
            uint32_t{kOptionKanaToggle | kOptionAutoAdvance});
  EXPECT_FALSE(dirty());
  EXPECT_FALSE(handleOptionCommand(advanced, IDC_LOAD_KEYMAP));
  EXPECT_FALSE(handleOptionCommand(advanced, IDOK));
}

TEST_F(OptionControlsTest, AutoStartButtonsFollowTheShortcut) {
  deleteStartupShortcut();
  HWND advanced = openAdvancedDialog();
  EXPECT_TRUE(isEnabled(advanced, IDC_CREATE_AUTOSTART));
  EXPECT_FALSE(isEnabled(advanced, IDC_DELETE_AUTOSTART));
  sendCommand(advanced, IDC_CREATE_AUTOSTART);
  EXPECT_TRUE(startupShortcutExists());
  EXPECT_FALSE(isEnabled(advanced, IDC_CREATE_AUTOSTART));
  EXPECT_TRUE(isEnabled(advanced, IDC_DELETE_AUTOSTART));
  sendCommand(advanced, IDC_DELETE_AUTOSTART);
  EXPECT_FALSE(startupShortcutExists());
  EXPECT_TRUE(isEnabled(advanced, IDC_CREATE_AUTOSTART));
  EXPECT_FALSE(isEnabled(advanced, IDC_DELETE_AUTOSTART));
}

TEST_F(OptionControlsTest, PathFieldStoresTheTextWithoutLoading) {
  HWND advanced = openAdvancedDialog();
  clearDirty();
  SetDlgItemTextW(advanced, IDC_KEYMAP_PATH, L"D:\\other.txt");  // EN_CHANGE
  EXPECT_STREQ(shellState.keymapPath, L"D:\\other.txt");
  EXPECT_TRUE(dirty());
  EXPECT_TRUE(keymapMessages.empty());  // nothing was loaded
  clearDirty();
  sendCommand(advanced, IDC_KEYMAP_PATH, EN_KILLFOCUS);
  EXPECT_FALSE(dirty());
}

TEST_F(OptionControlsTest, PathFieldKeepsLongPathsWhole) {
  const std::wstring longest(255, L'p');
  wcscpy(shellState.keymapPath, longest.c_str());
  HWND advanced = openAdvancedDialog();
  EXPECT_EQ(controlText(advanced, IDC_KEYMAP_PATH), longest);
  EXPECT_EQ(std::wstring(shellState.keymapPath), longest);
  EXPECT_FALSE(dirty());
  // Typing stops at the path's length instead of storing a path cut short.
  EXPECT_EQ(SendDlgItemMessageW(advanced, IDC_KEYMAP_PATH, EM_GETLIMITTEXT, 0, 0), kPathUnits - 1);
  SendDlgItemMessageW(advanced, IDC_KEYMAP_PATH, EM_SETSEL, 255, 255);
  SendDlgItemMessageW(advanced, IDC_KEYMAP_PATH, WM_CHAR, L'x', 0);
  EXPECT_EQ(controlText(advanced, IDC_KEYMAP_PATH), longest);
  EXPECT_EQ(std::wstring(shellState.keymapPath), longest);
  // A text that cannot fit is not taken at all.
  SetDlgItemTextW(advanced, IDC_KEYMAP_PATH, std::wstring(300, L'q').c_str());
  EXPECT_EQ(std::wstring(shellState.keymapPath), longest);
  EXPECT_EQ(shellState.keymapPath[kPathUnits - 1], L'\0');
}

TEST_F(OptionControlsTest, DefaultButtonEmptiesThePathAndLoadsTheDefaultFile) {
  wchar_t defaultPath[kPathUnits] = {};
  ASSERT_TRUE(programFolderPath(defaultPath, L"defaultkeymap.txt"));
  ASSERT_TRUE(writeTextFile(defaultPath, slotFourKeymap()));
  wcscpy(shellState.keymapPath, L"C:\\gone.txt");
  HWND advanced = openAdvancedDialog();
  clearDirty();
  sendCommand(advanced, IDC_DEFAULT_KEYMAP);
  DeleteFileW(defaultPath);
  EXPECT_STREQ(shellState.keymapPath, L"");
  EXPECT_EQ(controlText(advanced, IDC_KEYMAP_PATH), L"");
  EXPECT_TRUE(dirty());
  EXPECT_TRUE(keymapMessages.empty());
  EXPECT_NE(shellState.engine.keymaps[4].bytes, nullptr);
}

TEST_F(OptionControlsTest, LoadWithoutAskingUsesTheStoredPath) {
  wchar_t folder[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, folder);
  const std::wstring path = std::wstring(folder) + L"pqk_slot4.txt";
  ASSERT_TRUE(writeTextFile(path, slotFourKeymap()));
  wcscpy(shellState.keymapPath, path.c_str());
  loadKeymapInteractive(nullptr, false);
  DeleteFileW(path.c_str());
  EXPECT_TRUE(keymapMessages.empty());
  EXPECT_NE(shellState.engine.keymaps[4].bytes, nullptr);
  EXPECT_TRUE(dirty());

  wcscpy(shellState.keymapPath, L"C:\\no\\such\\keymap.txt");
  loadKeymapInteractive(nullptr, false);
  ASSERT_FALSE(keymapMessages.empty());
  EXPECT_NE(keymapMessages[0].find("ファイルがありません"), std::string::npos) << keymapMessages[0];
  EXPECT_EQ(shellState.engine.keymaps[4].bytes, nullptr);
  EXPECT_STREQ(shellState.keymapPath, L"C:\\no\\such\\keymap.txt");  // the path stays
}

// Loads asked for while a load's message is up, from every way in.
HWND advancedForNestedLoads = nullptr;
std::wstring nestedLoadFile;

void tryLoadsInsideALoad() {
  wchar_t first[kPathUnits];
  wcscpy(first, shellState.keymapPath);
  wcscpy(shellState.keymapPath, nestedLoadFile.c_str());
  loadKeymapInteractive(nullptr, false);
  loadConfiguredKeymaps(shellState.mainWnd);
  sendCommand(advancedForNestedLoads, IDC_DEFAULT_KEYMAP);
  EXPECT_STREQ(shellState.keymapPath, nestedLoadFile.c_str());
  wcscpy(shellState.keymapPath, first);
}

TEST_F(OptionControlsTest, LoadsNeverRunInsideOneAnotherAndTheirMessagesHaveOwners) {
  wchar_t folder[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, folder);
  // Keymap 4 is complete before the errors; the other file fills slot 5.
  const std::wstring broken = std::wstring(folder) + L"pqk_broken.txt";
  ASSERT_TRUE(writeTextFile(broken, slotFourKeymap() + "keymap '\\x05'\nbogus\n"));
  nestedLoadFile = std::wstring(folder) + L"pqk_slot5.txt";
  std::string slotFive = slotFourKeymap();
  slotFive[11] = '5';
  ASSERT_TRUE(writeTextFile(nestedLoadFile, slotFive));
  HWND main = makeParentWindow();
  shellState.mainWnd = main;
  HWND advanced = openAdvancedDialog();
  advancedForNestedLoads = advanced;
  whileKeymapMessageShown = tryLoadsInsideALoad;

  struct Start {
    const char* what;
    HWND owner;
    void (*load)(HWND advanced);
  };
  const Start starts[] = {
      {"advanced dialog", advanced, [](HWND dialog) { loadKeymapInteractive(dialog, false); }},
      {"menu", main, [](HWND) { loadKeymapInteractive(nullptr, false); }},
      {"start-up", main, [](HWND) { loadConfiguredKeymaps(shellState.mainWnd); }},
  };
  for (const Start& start : starts) {
    SCOPED_TRACE(start.what);
    keymapMessages.clear();
    keymapMessageOwners.clear();
    wcscpy(shellState.keymapPath, broken.c_str());
    start.load(advanced);
    ASSERT_FALSE(keymapMessages.empty());
    for (const std::string& message : keymapMessages) {
      EXPECT_EQ(message.find("ファイルがありません"), std::string::npos) << message;
    }
    for (HWND owner : keymapMessageOwners) EXPECT_EQ(owner, start.owner);
    EXPECT_NE(shellState.engine.keymaps[4].bytes, nullptr);
    EXPECT_EQ(shellState.engine.keymaps[5].bytes, nullptr);
    EXPECT_STREQ(shellState.keymapPath, broken.c_str());
  }

  // Once a load has ended, the next one runs.
  whileKeymapMessageShown = nullptr;
  wcscpy(shellState.keymapPath, nestedLoadFile.c_str());
  loadKeymapInteractive(nullptr, false);
  EXPECT_NE(shellState.engine.keymaps[5].bytes, nullptr);
  DeleteFileW(broken.c_str());
  DeleteFileW(nestedLoadFile.c_str());
  shellState.mainWnd = nullptr;
}

}  // namespace
