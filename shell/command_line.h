// The program's command line: switch c asks a running instance to quit,
// switch s starts hidden.
#pragma once

#include <cstdint>

// The appFlags bits (closeRequested, startHidden) that the switches of
// `commandLine` select; a null command line selects none.
uint32_t commandLineSwitches(const wchar_t* commandLine);

// Sets the selected bits in the shell state's appFlags.
void parseCommandLine(const wchar_t* commandLine);
