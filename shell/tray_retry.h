// When the notification-area icon is tried again after Explorer refused it.
// At log-on Explorer may not take icons yet, and a program started with -s
// has nothing else to show: it keeps asking, soon at first, then more
// slowly, until the icon is there.
#pragma once

#include <cstdint>

constexpr uint32_t kTrayFirstRetryMs = 500;
constexpr uint32_t kTrayLongestRetryMs = 30000;

// The wait after the n-th refusal in a row (n from 1): 0.5 s, doubled each
// time, at most 30 s.
uint32_t trayRetryDelayMs(uint32_t refusals);
