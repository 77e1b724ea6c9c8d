// Resource and control ids shared by the resource script and the shell code.
// Plain #defines so that the resource compiler can read this file too.
#pragma once

#define IDI_PADQUILTKANA 101
#define IDR_MAIN_MENU 102
#define IDD_ABOUT 103
#define IDD_SETTINGS 104
#define IDD_ADVANCED 105
// Desktop only: the notification-area icon's menu.
#define IDR_TRAY_MENU 106

// Menu commands.
#define IDM_ABOUT 40003
#define IDM_QUIT 40005
#define IDM_HIDE 40007
#define IDM_MANUAL 40010
#define IDM_LOAD_KEYMAP 40012
#define IDM_ADVANCED 40020

// The notification-area icon's menu (desktop); it ends the program with
// IDM_QUIT.
#define IDM_TRAY_SHOW 40030
#define IDM_TRAY_MODE_NONE 40031
#define IDM_TRAY_MODE_KANA_TOGGLE 40032
#define IDM_TRAY_MODE_TWO_TOUCH 40033

// Settings dialog.
#define IDC_TEST_FIELD 1018
#define IDC_MODE_NONE 1023
#define IDC_MODE_KANA_TOGGLE 1024
#define IDC_MODE_TWO_TOUCH 1025
#define IDC_AUTO_ADVANCE 1026
#define IDC_TIMEOUT 1029
#define IDC_NICO_TOUCH 1030
#define IDC_IME_CONTROL 1031
#define IDC_AUTO_CAPSLOCK 1033
#define IDC_OPEN_ADVANCED 1036
#define IDC_ADVANCE_AFTER_STEP 1038
#define IDC_SWITCH_IME 1058
#define IDC_IME_LABEL 1061

// Advanced settings dialog.
#define IDC_KEYMAP_PATH 1039
#define IDC_SWAP_CTRL_CAPS 1040
#define IDC_SWAP_ESC_HANKAKU 1041
#define IDC_LOAD_KEYMAP 1042
#define IDC_CREATE_AUTOSTART 1043
#define IDC_DELETE_AUTOSTART 1044
#define IDC_DEFAULT_KEYMAP 1046
#define IDC_ROTATION_BEHAVIOUR 1051
#define IDC_CLEAR_CANCELS_STROKE 1054
// Desktop only: "テンキーを使う".
#define IDC_NUMERIC_KEYPAD 1062

// About dialog.
#define IDC_OPEN_WEB_PAGE 1035
#define IDC_UNINSTALL_CLEANUP 1047
// The web address's label, hidden with the button in a build without one.
#define IDC_WEB_ADDRESS 1063
