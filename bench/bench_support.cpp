#include "bench/bench_support.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

#include "engine/key_event.h"
#include "keymap/keymap_compiler.h"

bool BufferKeymapPlatform::openKeymapFile(const std::string&, uint32_t& size) {
  size = static_cast<uint32_t>(text->size());
  return true;
}

bool BufferKeymapPlatform::readKeymapFile(uint8_t* buffer, uint32_t size) {
  std::memcpy(buffer, text->data(), size);
  return true;
}

std::string readProjectFile(const std::string& relativePath) {
  std::ifstream file(std::string(PQK_SOURCE_DIR) + "/" + relativePath, std::ios::binary);
  std::stringstream content;
  content << file.rdbuf();
  return content.str();
}

std::vector<std::string> compileText(EngineState& engine, const std::string& text) {
  BufferKeymapPlatform platform;
  platform.text = &text;
  loadKeymapFile(engine, platform, "bench.txt");
  return platform.messages;
}

namespace {

constexpr uint32_t kDown = kMessageKeyDown;
// Keypad keys 1, 2 and * (post-conversion in the default keymap).
constexpr uint32_t kKeypad1 = kKeypadVk[0];
constexpr uint32_t kKeypad2 = kKeypadVk[1];
constexpr uint32_t kKeypadStar = kKeypadVk[9];

}  // namespace

void prepareCase(DefaultKeymapEngine& bench, BenchCase which) {
  EngineState& engine = bench.engine;
  switch (which) {
    case BenchCase::kPassThrough:
      engine.options = kDefaultOptions;
      break;
    case BenchCase::kUnmappedInToggle:
    case BenchCase::kTogglePress:
    case BenchCase::kOrdinaryTyping:
    case BenchCase::kKeypadPress:
      engine.options = kDefaultOptions | kOptionKanaToggle | kOptionAutoAdvance;
      break;
    case BenchCase::kSecondStroke:
      engine.options = kDefaultOptions | kOptionTwoTouch;
      break;
    case BenchCase::kPostConversion:
      engine.options = kDefaultOptions | kOptionKanaToggle;
      break;
  }
  selectModeKeymap(engine);
  if (which == BenchCase::kPostConversion) {
    handleKeyEvent(engine, {kKeypad2, kDown, 0});  // か, the char list * steps through
  }
}

bool runCaseEvent(DefaultKeymapEngine& bench, BenchCase which, uint32_t& time) {
  EngineState& engine = bench.engine;
  switch (which) {
    case BenchCase::kPassThrough:
    case BenchCase::kUnmappedInToggle:
      return handleKeyEvent(engine, {0x41, kDown, time});
    case BenchCase::kTogglePress:
      time += 5000;  // past the timeout: every press starts a new か
      return handleKeyEvent(engine, {kKeypad2, kDown, time});
    case BenchCase::kSecondStroke:
      engine.firstStroke = keyCodeOf(1);  // the first stroke was key 2
      return handleKeyEvent(engine, {kKeypad1, kDown, time});
    case BenchCase::kPostConversion:
      return handleKeyEvent(engine, {kKeypadStar, kDown, time});
    case BenchCase::kOrdinaryTyping: {
      // "a quick brown fox": every letter and the space, down then up.
      static const char kText[] = "A QUICK BROWN FOX JUMPS OVER THE LAZY DOG ";
      const uint32_t event = time++ % (2 * (sizeof kText - 1));  // 1 ms per event
      const uint32_t vk = static_cast<uint8_t>(kText[event / 2]);
      return handleKeyEvent(engine, {vk, event % 2 == 0 ? kDown : kMessageKeyUp, time});
    }
    case BenchCase::kKeypadPress:
      time += 5000;  // past the timeout: every press starts a new か
      handleKeyEvent(engine, {kKeypad2, kDown, time});
      return handleKeyEvent(engine, {kKeypad2, kMessageKeyUp, time});
  }
  return false;
}

std::string generateLargeKeymap(size_t bytes) {
  std::string text = "# generated keymap for the compiler benchmark\n";
  char line[96];
  for (int i = 0; i < 1024; ++i) {
    std::snprintf(line, sizeof line, "defcode SYMBOL_%04d '\\x%02x'\n", i, i & 0xFF);
    text += line;
  }
  int keymap = 0;
  while (text.size() < bytes) {
    std::snprintf(line, sizeof line, "keymap '\\x%02x'\n", keymap++ % 10);
    text += line;
    for (int key = 0; key < 12; ++key) {
      text += "key SYMBOL_0002\n";
      for (int list = 0; list < 4; ++list) {
        for (int entry = 0; entry < 60; ++entry) {
          const int symbol = (key * 241 + list * 61 + entry * 17) % 1024;
          std::snprintf(line, sizeof line, "%s SYMBOL_0001 SYMBOL_%04d\n",
                        entry == 0 ? "char" : "attach", symbol);
          text += line;
        }
      }
    }
  }
  return text;
}

size_t countLines(const std::string& text) {
  size_t lines = 0;
  const char* p = text.data();
  const char* end = p + text.size();
  while (p < end && *p != '\0') {
    ++lines;
    while (p < end && *p != '\r' && *p != '\n' && *p != '\0') ++p;
    if (p < end && *p == '\r') ++p;
    if (p < end && *p == '\n') ++p;
  }
  return lines;
}
