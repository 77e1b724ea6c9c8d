// The program's resources as the user sees them: every control of the three
// dialogs with its id, kind, place and text, the dialog font, the menu and
// the icon. The places are the desktop's, where every text has room in the
// fonts desktop Windows draws; the end-to-end run measures the texts.
#include <cwchar>
#include <string>
#include <vector>

#include "engine/option_table.h"
#include "shell/about_dialog.h"
#include "shell/dialog_resources.h"
#include "shell/resource_ids.h"
#include "shell/utf8_text.h"
#include "tests/shell/app_test_support.h"
#include "tests/shell/id_names.h"
#include "web_address.h"

namespace {

enum Kind {
  kStatic,
  kIcon,
  kPush,
  kRadio,
  kCheck,
  kEdit,
  kMultiLineEdit,
  kDropDownList,
};

struct ControlSpec {
  int id;
  Kind kind;
  RECT rect;  // dialog units: left, top, width, height
  const wchar_t* text;
  bool tabStop;
};

// An option's control shows its label from the options table; the static
// after the rotation combo box shows the combo box's label.
const wchar_t kOptionLabel[] = L"(its label in the options table)";
const wchar_t kComboLabel[] = L"(the label of the combo box before it)";

const ControlSpec kSettingsControls[] = {
    {-1, kStatic, {4, 7, 110, 8}, L"padquilt kana lite v1.02", false},
    {1036, kPush, {120, 4, 46, 14}, L"詳細設定", false},
    {1023, kRadio, {8, 20, 60, 10}, kOptionLabel, false},
    {1024, kRadio, {8, 32, 110, 10}, kOptionLabel, false},
    {1025, kRadio, {8, 44, 120, 10}, kOptionLabel, false},
    {1026, kCheck, {16, 57, 52, 10}, kOptionLabel, true},
    {1029, kEdit, {70, 56, 32, 12}, nullptr, true},
    {-1, kStatic, {105, 58, 28, 8}, L"msec", false},
    {1038, kCheck, {16, 70, 150, 10}, kOptionLabel, true},
    {1033, kCheck, {16, 82, 90, 10}, kOptionLabel, true},
    {1030, kCheck, {16, 94, 90, 10}, kOptionLabel, true},
    {1031, kCheck, {16, 106, 130, 10}, kOptionLabel, true},
    {-1, kStatic, {4, 140, 70, 8}, L"入力テスト用", false},
    {1018, kMultiLineEdit, {4, 150, 162, 42}, L"", true},
    {1058, kPush, {120, 122, 46, 14}, L"IME切換", false},
    // Room for "IME ON(かな入力)", ending beside the button.
    {1061, kStatic, {40, 125, 76, 8}, nullptr, false},
};

const ControlSpec kAdvancedControls[] = {
    {1040, kCheck, {8, 8, 100, 10}, kOptionLabel, true},
    {1041, kCheck, {8, 20, 100, 10}, kOptionLabel, true},
    {1051, kDropDownList, {82, 34, 100, 60}, nullptr, true},
    {-1, kStatic, {8, 37, 72, 8}, kComboLabel, false},
    {1042, kPush, {8, 54, 70, 14}, L"Keymap読込", true},
    {1046, kPush, {82, 54, 80, 14}, L"defaultに戻す", true},
    {1039, kEdit, {8, 72, 174, 14}, nullptr, true},
    {1043, kPush, {8, 90, 80, 14}, L"自動起動に設定", true},
    {1044, kPush, {92, 90, 80, 14}, L"自動起動を解除", true},
    {1054, kCheck, {8, 110, 178, 10}, kOptionLabel, true},
    {1062, kCheck, {8, 124, 120, 10}, kOptionLabel, true},
};

const ControlSpec kAboutControls[] = {
    {-1, kIcon, {8, 6, 20, 20}, nullptr, false},
    {-1, kStatic, {34, 6, 90, 8}, L"padquilt kana", false},
    {-1, kStatic, {34, 18, 90, 8}, L"ZEF", false},
    {-1,
     kStatic,
     {8, 34, 184, 30},
     L"動作保障はありません。重要なデータは予め\nバックアップをおとりください。"
     L"更新情報は下記\n"
     L"サイトからどうぞ。",
     false},
    {IDC_WEB_ADDRESS, kStatic, {8, 68, 184, 18}, nullptr, false},
    {1035, kPush, {136, 88, 52, 14}, L"Web接続", true},
    {1047, kPush, {88, 110, 100, 14}, L"Uninstall用設定削除", true},
};

BOOL CALLBACK collect(HWND window, LPARAM list) {
  reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
  return TRUE;
}

std::wstring className(HWND window) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  for (wchar_t& c : name) c = static_cast<wchar_t>(towlower(c));
  return name;
}

std::wstring windowText(HWND window) {
  wchar_t text[256] = {};
  GetWindowTextW(window, text, 256);
  return text;
}

// Edit controls turn their WS_BORDER into a sunken client edge.
bool hasBorder(HWND control) {
  return (GetWindowLongW(control, GWL_STYLE) & WS_BORDER) ||
         (GetWindowLongW(control, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
}

void expectKind(HWND control, Kind kind, int controlId) {
  const std::string id = idName(controlId);
  const LONG style = GetWindowLongW(control, GWL_STYLE);
  switch (kind) {
    case kStatic:
      EXPECT_EQ(className(control), L"static") << id;
      EXPECT_NE(style & SS_TYPEMASK, SS_ICON) << id;
      break;
    case kIcon:
      EXPECT_EQ(className(control), L"static") << id;
      EXPECT_EQ(style & SS_TYPEMASK, SS_ICON) << id;
      break;
    case kPush:
      EXPECT_EQ(className(control), L"button") << id;
      EXPECT_EQ(style & BS_TYPEMASK, BS_PUSHBUTTON) << id;
      break;
    case kRadio:
      EXPECT_EQ(className(control), L"button") << id;
      EXPECT_EQ(style & BS_TYPEMASK, BS_AUTORADIOBUTTON) << id;
      break;
    case kCheck:
      EXPECT_EQ(className(control), L"button") << id;
      EXPECT_EQ(style & BS_TYPEMASK, BS_AUTOCHECKBOX) << id;
      break;
    case kEdit:
      EXPECT_EQ(className(control), L"edit") << id;
      EXPECT_TRUE(style & ES_AUTOHSCROLL) << id;
      EXPECT_FALSE(style & ES_MULTILINE) << id;
      EXPECT_TRUE(hasBorder(control)) << id;
      break;
    case kMultiLineEdit:
      EXPECT_EQ(className(control), L"edit") << id;
      EXPECT_TRUE(style & ES_MULTILINE) << id;
      EXPECT_TRUE(style & ES_AUTOHSCROLL) << id;
      EXPECT_TRUE(style & ES_WANTRETURN) << id;
      EXPECT_TRUE(style & WS_VSCROLL) << id;
      EXPECT_TRUE(hasBorder(control)) << id;
      break;
    case kDropDownList:
      EXPECT_EQ(className(control), L"combobox") << id;
      EXPECT_EQ(style & 3, CBS_DROPDOWNLIST) << id;
      break;
  }
}

template <size_t N>
void expectControls(HWND dialog, const ControlSpec (&expected)[N], bool checkTabStops) {
  std::vector<HWND> controls;
  EnumChildWindows(dialog, collect, reinterpret_cast<LPARAM>(&controls));
  // Only the dialog's own controls (a combo box has children of its own).
  std::vector<HWND> own;
  for (HWND control : controls) {
    if (GetParent(control) == dialog) own.push_back(control);
  }
  ASSERT_EQ(own.size(), N);
  for (size_t i = 0; i < N; ++i) {
    const ControlSpec& wanted = expected[i];
    HWND control = own[i];
    if (wanted.id != -1) {
      EXPECT_EQ(NamedId(GetDlgCtrlID(control)), NamedId(wanted.id)) << "control " << i;
    } else {
      EXPECT_EQ(GetDlgCtrlID(control) & 0xFFFF, 0xFFFF) << "control " << i;
    }
    expectKind(control, wanted.kind, wanted.id);
    if (wanted.text == kOptionLabel || wanted.text == kComboLabel) {
      const int labelled = wanted.text == kOptionLabel ? wanted.id : GetDlgCtrlID(own[i - 1]);
      const OptionRow* option = optionRowOfControl(labelled);
      ASSERT_NE(option, nullptr) << "control " << i << ": " << idName(labelled);
      EXPECT_EQ(windowText(control), wideFromUtf8(option->label)) << idName(labelled);
    } else if (wanted.text != nullptr) {
      EXPECT_EQ(windowText(control), wanted.text) << "control " << i;
    }
    // A checked radio button takes the tab stop of its group at run time.
    if (checkTabStops && wanted.kind != kRadio) {
      EXPECT_EQ((GetWindowLongW(control, GWL_STYLE) & WS_TABSTOP) != 0, wanted.tabStop)
          << idName(wanted.id);
    }
    // The dialog manager converts the place and the size each on its own.
    RECT place = {wanted.rect.left, wanted.rect.top, 0, 0};
    MapDialogRect(dialog, &place);
    RECT size = {0, 0, wanted.rect.right, wanted.rect.bottom};
    MapDialogRect(dialog, &size);
    RECT got;
    GetWindowRect(control, &got);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&got), 2);
    EXPECT_EQ(got.left, place.left) << "control " << i;
    EXPECT_EQ(got.top, place.top) << "control " << i;
    if (wanted.kind == kIcon) continue;  // an icon control takes the icon's size
    EXPECT_EQ(got.right - got.left, size.right) << "control " << i;
    if (wanted.kind != kDropDownList) {  // a closed list is only as high as its field
      EXPECT_EQ(got.bottom - got.top, size.bottom) << "control " << i;
    }
  }
}

void expectDialogFont(HWND dialog) {
  HFONT font = reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0));
  ASSERT_NE(font, nullptr);
  LOGFONTW logFont = {};
  ASSERT_NE(GetObjectW(font, sizeof(logFont), &logFont), 0);
  EXPECT_STREQ(logFont.lfFaceName, L"MS UI Gothic");
  HDC screen = GetDC(nullptr);
  const int pixelsPerInch = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  EXPECT_EQ(logFont.lfHeight, -MulDiv(9, pixelsPerInch, 72));
}

void expectDialogSize(HWND dialog, int width, int height) {
  RECT want = {0, 0, width, height};
  MapDialogRect(dialog, &want);
  RECT client;
  GetClientRect(dialog, &client);
  EXPECT_EQ(client.right, want.right);
  EXPECT_EQ(client.bottom, want.bottom);
}

using ResourcesTest = ShellAppTest;

TEST_F(ResourcesTest, SettingsDialog) {
  HWND dialog = openSettingsDialog();
  ASSERT_NE(dialog, nullptr);
  const LONG style = GetWindowLongW(dialog, GWL_STYLE);
  EXPECT_TRUE(style & WS_CHILD);
  EXPECT_FALSE((style & WS_CAPTION) == WS_CAPTION);
  expectDialogSize(dialog, 170, 196);
  expectDialogFont(dialog);
  expectControls(dialog, kSettingsControls, true);
}

TEST_F(ResourcesTest, AdvancedDialog) {
  HWND dialog = openAdvancedDialog();
  ASSERT_NE(dialog, nullptr);
  EXPECT_TRUE(GetWindowLongW(dialog, GWL_STYLE) & WS_POPUP);
  expectDialogSize(dialog, 190, 144);
  expectDialogFont(dialog);
  expectControls(dialog, kAdvancedControls, false);
}

// The options table's control ids are the resource script's: each row's
// control is in one of the dialogs, of the row's kind, with the row's label.
TEST_F(ResourcesTest, EveryOptionOfTheTableHasItsControl) {
  HWND settings = openSettingsDialog();
  HWND advanced = openAdvancedDialog();
  ASSERT_NE(settings, nullptr);
  ASSERT_NE(advanced, nullptr);
  for (const OptionRow& row : kOptionTable) {
    if (row.control == OptionControl::kNone) continue;
    HWND control = GetDlgItem(settings, row.controlId);
    if (control == nullptr) control = GetDlgItem(advanced, row.controlId);
    ASSERT_NE(control, nullptr) << idName(row.controlId);
    switch (row.control) {
      case OptionControl::kModeRadio:
        expectKind(control, kRadio, row.controlId);
        EXPECT_EQ(windowText(control), wideFromUtf8(row.label)) << idName(row.controlId);
        break;
      case OptionControl::kCheckBox:
        expectKind(control, kCheck, row.controlId);
        EXPECT_EQ(windowText(control), wideFromUtf8(row.label)) << idName(row.controlId);
        break;
      case OptionControl::kComboBox:
        expectKind(control, kDropDownList, row.controlId);
        EXPECT_EQ(windowText(GetWindow(control, GW_HWNDNEXT)), wideFromUtf8(row.label))
            << idName(row.controlId);
        break;
      case OptionControl::kNone:
        break;
    }
  }
}

TEST_F(ResourcesTest, AboutDialog) {
  HWND dialog = createDialogFromResource(IDD_ABOUT, nullptr, aboutDialogProc);
  ASSERT_NE(dialog, nullptr);
  windows.push_back(dialog);
  EXPECT_TRUE(GetWindowLongW(dialog, GWL_STYLE) & WS_POPUP);
  expectDialogSize(dialog, 196, 130);
  expectDialogFont(dialog);
  expectControls(dialog, kAboutControls, false);

  // The web address, split over two lines, and its button; a build without
  // an address (the default) shows neither.
  HWND address = GetDlgItem(dialog, IDC_WEB_ADDRESS);
  HWND button = GetDlgItem(dialog, IDC_OPEN_WEB_PAGE);
  ASSERT_NE(address, nullptr);
  ASSERT_NE(button, nullptr);
  const bool configured = PQK_WEB_ADDRESS[0] != L'\0';
  EXPECT_EQ((GetWindowLongW(address, GWL_STYLE) & WS_VISIBLE) != 0, configured);
  EXPECT_EQ((GetWindowLongW(button, GWL_STYLE) & WS_VISIBLE) != 0, configured);
  if (configured) {
    std::wstring shown = windowText(address);
    const size_t lineBreak = shown.find(L'\n');
    ASSERT_NE(lineBreak, std::wstring::npos) << "one line only";
    EXPECT_GT(lineBreak, 0u);
    shown.erase(lineBreak, 1);
    EXPECT_EQ(shown, PQK_WEB_ADDRESS);
    EXPECT_EQ(shown.find(L'\n'), std::wstring::npos);
  }
  std::vector<HWND> controls;
  EnumChildWindows(dialog, collect, reinterpret_cast<LPARAM>(&controls));
  ASSERT_GE(controls.size(), 1u);
  EXPECT_NE(SendMessageW(controls[0], STM_GETICON, 0, 0), 0);
}

TEST_F(ResourcesTest, UninstallButtonKeepsTheAboutDialogOpen) {
  HWND dialog = createDialogFromResource(IDD_ABOUT, nullptr, aboutDialogProc);
  ASSERT_NE(dialog, nullptr);
  windows.push_back(dialog);
  ShowWindow(dialog, SW_SHOW);
  shellState.appFlags |= kAppSettingsDirty;
  sendCommand(dialog, IDC_UNINSTALL_CLEANUP);
  EXPECT_TRUE(IsWindowVisible(dialog));
  HKEY key = nullptr;
  EXPECT_NE(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\ZEF\\padquiltkana", 0, KEY_READ, &key),
            ERROR_SUCCESS);
}

TEST_F(ResourcesTest, MenuAndIcon) {
  HMENU menu = LoadMenuW(shellState.instance, MAKEINTRESOURCEW(IDR_MAIN_MENU));
  ASSERT_NE(menu, nullptr);
  ASSERT_EQ(GetMenuItemCount(menu), 2);
  wchar_t text[64] = {};
  GetMenuStringW(menu, 0, text, 64, MF_BYPOSITION);
  EXPECT_STREQ(text, L"メニュー");
  GetMenuStringW(menu, 1, text, 64, MF_BYPOSITION);
  EXPECT_STREQ(text, L"隠す");
  EXPECT_EQ(NamedId(GetMenuItemID(menu, 1)), NamedId(IDM_HIDE));

  HMENU drop = GetSubMenu(menu, 0);
  ASSERT_NE(drop, nullptr);
  const struct {
    UINT id;
    const wchar_t* text;
  } items[] = {{40003, L"プログラムについて"}, {40010, L"マニュアルを開く"}, {0, nullptr},
               {40020, L"詳細設定"},           {40012, L"キーマップ読込"},   {0, nullptr},
               {40005, L"プログラム終了"}};
  ASSERT_EQ(GetMenuItemCount(drop), 7);
  for (int i = 0; i < 7; ++i) {
    if (items[i].text == nullptr) {
      EXPECT_TRUE(GetMenuState(drop, i, MF_BYPOSITION) & MF_SEPARATOR) << i;
      continue;
    }
    EXPECT_EQ(NamedId(GetMenuItemID(drop, i)), NamedId(items[i].id)) << i;
    GetMenuStringW(drop, i, text, 64, MF_BYPOSITION);
    EXPECT_STREQ(text, items[i].text) << i;
  }
  DestroyMenu(menu);

  EXPECT_NE(LoadIconW(shellState.instance, MAKEINTRESOURCEW(IDI_PADQUILTKANA)), nullptr);

  // An image of its own for every size Windows draws at 100-200 % scaling
  // (small icons 16-32, large ones 32-64) and for Explorer's largest view:
  // the icon group's directory lists them (a width of 0 is 256).
  HRSRC found = FindResourceW(shellState.instance, MAKEINTRESOURCEW(IDI_PADQUILTKANA),
                              MAKEINTRESOURCEW(14));  // RT_GROUP_ICON
  ASSERT_NE(found, nullptr);
  const auto* group =
      static_cast<const BYTE*>(LockResource(LoadResource(shellState.instance, found)));
  ASSERT_NE(group, nullptr);
  const WORD count = *reinterpret_cast<const WORD*>(group + 4);
  std::vector<int> sizes;
  for (WORD i = 0; i < count; ++i) {
    const BYTE* entry = group + 6 + 14 * i;  // width, height, colours, reserved, ...
    sizes.push_back(entry[0] == 0 ? 256 : entry[0]);
    EXPECT_EQ(entry[0], entry[1]) << "image " << i << " is square";
    EXPECT_EQ(*reinterpret_cast<const WORD*>(entry + 6), 32) << "image " << i << " has alpha";
  }
  EXPECT_EQ(sizes, (std::vector<int>{16, 20, 24, 32, 40, 48, 64, 256}));
}

}  // namespace
