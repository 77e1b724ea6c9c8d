// The program's own message boxes: caption "padquiltkana", an OK button, and
// the window that asked as their owner.
#pragma once

#include <windows.h>

#include <string>

constexpr const wchar_t* kMessageCaption = L"padquiltkana";

// Shows `text` modally; the owner is disabled while the box is up.
void showProgramMessage(HWND owner, const wchar_t* text);

// Replaces the message box (tests); nullptr restores it.
using ProgramMessageShower = void (*)(HWND owner, const wchar_t* text);
void useProgramMessageShower(ProgramMessageShower shower);

// Said instead of using a file beside the program when the program's own path
// came back cut short or its folder is too long for a path.
std::wstring programFolderUnknownMessage(const wchar_t* fileName);
