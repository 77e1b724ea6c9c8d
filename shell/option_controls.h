// The option controls that the settings and advanced dialogs share: check
// boxes, input-mode radio buttons, the timeout field, the rotation combo box
// and the keymap path field. A control that a dialog lacks is passed over.
#pragma once

#include <windows.h>

#include <cstdint>

// Sets every option control the dialog has from the current state, then
// re-selects the keymap slot and refreshes the IME label.
void initOptionControls(HWND dialog);
// The option controls' WM_COMMAND handling; false for any other id. Any
// notification runs a control's row; EN_KILLFOCUS of the timeout field also
// shows the stored timeout again when the field's text was not taken.
bool handleOptionCommand(HWND dialog, int id, int notification = 0);
// Copies a check box's state into one option bit; always marks the settings
// dirty.
void setOptionFromCheckbox(HWND dialog, int id, uint32_t bit);
// Switches the input mode (0, kOptionKanaToggle or kOptionTwoTouch) as its
// radio button does, from outside the settings dialog; an open settings
// dialog shows the new mode.
void switchInputMode(uint32_t modeBits);
// Enables the mode-dependent controls by the input mode.
void updateControlEnabling(HWND dialog);
// Enables exactly one of the two auto-start buttons.
void updateAutoStartButtons(HWND dialog);

// Told after every change of the input mode, by a radio button or
// switchInputMode: the desktop's notification-area icon shows the mode. One
// listener at a time; nullptr for none.
using InputModeListener = void (*)();
void setInputModeListener(InputModeListener listener);
