// The IME's state where the user looks: the settings dialog's label ("IME
// ON" / "IME OFF") and, on desktop Windows, the notification-area icon's tip.
// An IME open in kana input (かな入力) reads the keys as the kana printed on
// them, so the keypad is left to it; both places say so.
//
// The questions to the IME are asked without holding the engine: the IME
// window may belong to another program that answers late, and the hook must
// not wait for that.
#pragma once

#include <windows.h>

#include <cstdint>

// The label's texts.
constexpr const wchar_t* kImeLabelOn = L"IME ON";
constexpr const wchar_t* kImeLabelOff = L"IME OFF";
constexpr const wchar_t* kImeLabelKanaInput = L"IME ON(かな入力)";

// The label's text for an imeStatus word.
const wchar_t* imeLabelText(uint32_t imeStatus);

// Re-reads the IME state and shows it in the settings dialog, if present.
void refreshImeLabel();
// Shows the IME state last read, without asking the IME again.
void showImeLabel();
// "IME切換": opens a closed IME or closes an open one, then shows the state.
void switchImeAndShow();
// The label and the icon's tip, as the engine last heard from the IME.
void showImeStatus();

#ifndef _WIN32_WCE
// Posted to the main window when the hook finds the IME's state as shown
// changed.
constexpr UINT kImeStatusChangedMessage = WM_APP + 2;
#endif
