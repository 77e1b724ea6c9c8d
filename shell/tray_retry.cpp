#include "shell/tray_retry.h"

uint32_t trayRetryDelayMs(uint32_t refusals) {
  uint32_t delay = kTrayFirstRetryMs;
  for (uint32_t n = 1; n < refusals && delay < kTrayLongestRetryMs; ++n) delay *= 2;
  return delay < kTrayLongestRetryMs ? delay : kTrayLongestRetryMs;
}
