// The entry point of padquiltkanalt.exe.
#include <windows.h>

#include "shell/program_run.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int showCommand) {
  return runProgram(instance, commandLine, showCommand);
}
