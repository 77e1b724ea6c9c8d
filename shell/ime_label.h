// The settings dialog's IME state label, "IME ON" or "IME OFF". The dialogs'
// controls and the main window (on WM_IME_NOTIFY) keep it current.
#pragma once

// Re-reads the IME state and shows it in the settings dialog, if present.
void refreshImeLabel();
// Shows the IME state last read, without asking the IME again.
void showImeLabel();
