#include "sim/views/key_names.h"

#include "engine/engine_state.h"

namespace {

struct NamedKey {
  uint8_t vk;
  const char* name;
};

constexpr NamedKey kNamedKeys[] = {
    {0x03, "Cancel"},      {0x08, "Backspace"},  {0x09, "Tab"},        {0x0C, "Clear"},
    {0x0D, "Enter"},       {0x10, "Shift"},      {0x11, "Ctrl"},       {0x12, "Alt"},
    {0x13, "Pause"},       {0x14, "CapsLock"},   {0x15, "Kana"},       {0x19, "Kanji"},
    {0x1B, "Esc"},         {0x1C, "Convert"},    {0x1D, "NonConvert"}, {0x20, "Space"},
    {0x21, "PageUp"},      {0x22, "PageDown"},   {0x23, "End"},        {0x24, "Home"},
    {0x25, "Left"},        {0x26, "Up"},         {0x27, "Right"},      {0x28, "Down"},
    {0x2C, "PrintScreen"}, {0x2D, "Insert"},     {0x2E, "Delete"},     {0x5B, "LWin"},
    {0x5C, "RWin"},        {0x5D, "Apps"},       {0x6A, "Num*"},       {0x6B, "Num+"},
    {0x6C, "NumEnter"},    {0x6D, "Num-"},       {0x6E, "Num."},       {0x6F, "Num/"},
    {0x90, "NumLock"},     {0x91, "ScrollLock"}, {0xA0, "LShift"},     {0xA1, "RShift"},
    {0xA2, "LCtrl"},       {0xA3, "RCtrl"},      {0xA4, "LAlt"},       {0xA5, "RAlt"},
    {0xBA, ";"},           {0xBB, "="},          {0xBC, ","},          {0xBD, "-"},
    {0xBE, "."},           {0xBF, "/"},          {0xC0, "`"},          {0xDB, "["},
    {0xDC, "\\"},          {0xDD, "]"},          {0xDE, "'"},          {0xE2, "OEM102"},
    {0xF0, "Eisu"},        {0xF3, "Hankaku"},    {0xF4, "Zenkaku"},
};

}  // namespace

std::string virtualKeyName(uint8_t vk) {
  if ((vk >= '0' && vk <= '9') || (vk >= 'A' && vk <= 'Z')) return std::string(1, char(vk));
  if (vk >= 0x60 && vk <= 0x69) return "Num" + std::to_string(vk - 0x60);
  if (vk >= 0x70 && vk <= 0x87) return "F" + std::to_string(vk - 0x70 + 1);
  for (const NamedKey& key : kNamedKeys) {
    if (key.vk == vk) return key.name;
  }
  return "-";
}

std::string keypadKeyName(int column) {
  return std::string(1, kKeypadKeys[column]);
}
