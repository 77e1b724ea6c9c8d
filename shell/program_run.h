// The program's run from start to end, in the order the shell needs: settings
// before the window, keymaps before the hook, the hook before the timer.
#pragma once

#include <windows.h>

// The whole program; returns the exit code.
int runProgram(HINSTANCE instance, const wchar_t* commandLine, int showCommand);

// The end of a run after the message loop: the keymaps are released and
// unsaved settings written, once.
void finishRun();
