// Prints the virtual keys that the system holds down right now, one per line
// in hex, and exits with 1 when there is any: a key the program injected but
// never released would stay down for every application.
#include <windows.h>

#include <cstdio>

int main() {
  int held = 0;
  for (int vk = 1; vk < 256; ++vk) {
    // Mouse buttons are not keys the program ever sends.
    if (vk == VK_LBUTTON || vk == VK_RBUTTON || vk == VK_MBUTTON) continue;
    if (GetAsyncKeyState(vk) & 0x8000) {
      std::printf("0x%02X\n", vk);
      ++held;
    }
  }
  return held == 0 ? 0 : 1;
}
