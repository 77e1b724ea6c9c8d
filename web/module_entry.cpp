// The page's module entry: C functions the page's JavaScript calls, each
// answering JSON text (UTF-8, NUL-terminated) that stays valid until the next
// call. Keymap text comes in as bytes with their length, exactly as a file
// holds them.
#include <cstddef>
#include <cstdint>
#include <string>

#include "web/playground.h"

#ifdef __EMSCRIPTEN__
#include <emscripten/emscripten.h>
#define PQK_EXPORT extern "C" EMSCRIPTEN_KEEPALIVE
#else
#define PQK_EXPORT extern "C"
#endif

namespace {

Playground& playground() {
  static Playground instance;
  return instance;
}

const char* answer(std::string text) {
  static std::string last;
  last = std::move(text);
  return last.c_str();
}

std::string bytes(const char* data, size_t size) {
  return data == nullptr ? std::string() : std::string(data, size);
}

}  // namespace

PQK_EXPORT const char* pqk_controls() {
  return answer(Playground::controls());
}

PQK_EXPORT const char* pqk_start(const char* keymap, size_t size, uint32_t options,
                                 int32_t timeoutMs, int imeOn) {
  return answer(playground().start(bytes(keymap, size), options, timeoutMs, imeOn != 0));
}

PQK_EXPORT const char* pqk_keymap(const char* keymap, size_t size) {
  return answer(playground().keymap(bytes(keymap, size)));
}

PQK_EXPORT const char* pqk_settings(uint32_t options, int32_t timeoutMs) {
  return answer(playground().settings(options, timeoutMs));
}

PQK_EXPORT const char* pqk_key(uint32_t vk, int down, uint32_t timeMs) {
  return answer(playground().key(static_cast<uint8_t>(vk), down != 0, timeMs));
}

PQK_EXPORT const char* pqk_ime(int on) {
  return answer(playground().ime(on != 0));
}

PQK_EXPORT const char* pqk_clear_text() {
  return answer(playground().clearText());
}

PQK_EXPORT const char* pqk_state() {
  return answer(playground().state());
}

PQK_EXPORT const char* pqk_pad_labels() {
  return answer(playground().padLabels());
}

PQK_EXPORT const char* pqk_table(int slot) {
  return answer(playground().table(slot));
}
