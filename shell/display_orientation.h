// Reading and setting the display orientation. The program works with the
// orientation values of Windows CE, where only bit 0 (90 degrees) means a
// turned screen; the desktop numbers 270 degrees differently, so its values
// are translated here and nowhere else.
#pragma once

#include <cstdint>

enum DisplayOrientationValue : uint32_t {
  kOrientation0 = 0,
  kOrientation90 = 1,
  kOrientation180 = 2,
  kOrientation270 = 4,
};

struct DisplayOrientation {
  // The current orientation; kOrientation0 when it cannot be read.
  virtual uint32_t readOrientation() = 0;
  // Asks the platform to turn the screen; failures are not reported.
  virtual void setOrientation(uint32_t orientation) = 0;

 protected:
  ~DisplayOrientation() = default;
};

// The platform's orientation, or the one installed with useDisplayOrientation.
DisplayOrientation& displayOrientation();

// Replaces the platform's orientation (tests); nullptr restores it.
void useDisplayOrientation(DisplayOrientation* orientation);

// Desktop DMDO_* value to the program's value; unknown values read as 0.
uint32_t orientationFromDesktop(uint32_t desktopValue);

// The program's value to the desktop DMDO_* value; false for a value that
// names no orientation.
bool orientationToDesktop(uint32_t orientation, uint32_t& desktopValue);
