#include "engine/us_layout.h"

namespace {

struct PunctuationKey {
  uint8_t vk;
  char plain;
  char shifted;
};

constexpr PunctuationKey kPunctuationKeys[] = {
    {0xBA, ';', ':'},  {0xBB, '=', '+'},  {0xBC, ',', '<'}, {0xBD, '-', '_'},  {0xBE, '.', '>'},
    {0xBF, '/', '?'},  {0xC0, '`', '~'},  {0xDB, '[', '{'}, {0xDC, '\\', '|'}, {0xDD, ']', '}'},
    {0xDE, '\'', '"'}, {0xE2, '\\', '|'},  // the 102nd key of a US keyboard
};

constexpr char kShiftedDigits[] = ")!@#$%^&*(";

}  // namespace

char usLayoutCharacter(uint8_t vk, bool shift) {
  if (vk >= 'A' && vk <= 'Z') return static_cast<char>(shift ? vk : vk - 'A' + 'a');
  if (vk >= '0' && vk <= '9') return shift ? kShiftedDigits[vk - '0'] : static_cast<char>(vk);
  if (vk == 0x20) return ' ';
  for (const PunctuationKey& key : kPunctuationKeys) {
    if (key.vk == vk) return shift ? key.shifted : key.plain;
  }
  return 0;
}
