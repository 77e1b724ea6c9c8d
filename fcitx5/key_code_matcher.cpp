#include "fcitx5/key_code_matcher.h"

#include <algorithm>
#include <iterator>

namespace {

bool hasSlot(int code) {
  // Without a code (0) or with one beyond X's range, a key cannot be told
  // apart from the others; its symbol decides.
  return code > 0 && code < 256;
}

}  // namespace

uint8_t KeyCodeMatcher::press(int code, uint8_t symbolVk) {
  if (hasSlot(code)) pressedVk_[code] = static_cast<uint16_t>(symbolVk + 1);
  return symbolVk;
}

uint8_t KeyCodeMatcher::release(int code, uint8_t symbolVk) {
  if (!hasSlot(code) || pressedVk_[code] == 0) return symbolVk;
  const auto vk = static_cast<uint8_t>(pressedVk_[code] - 1);
  pressedVk_[code] = 0;
  return vk;
}

void KeyCodeMatcher::clear() {
  std::fill(std::begin(pressedVk_), std::end(pressedVk_), 0);
}
