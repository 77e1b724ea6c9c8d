// One load: clear the slots, read the text, compile it, release the working
// buffers. Running out of memory anywhere in a load is "読込エラー" and leaves
// every slot empty.
#include <cstdlib>
#include <cstring>
#include <new>

#include "keymap/keymap_compiler_internal.h"
#include "keymap/keymap_messages.h"

namespace {

void* allocateWithMalloc(size_t size) {
  return std::malloc(size);
}

// Room after the text's last byte: its NUL and a margin.
constexpr size_t kTextSlack = 8;

// Room for a text of `size` bytes, or nullptr when it cannot be had (the
// sum would not fit in size_t on a 32-bit device).
uint8_t* allocateText(KeymapTextAllocator allocate, size_t size) {
  if (size > SIZE_MAX - kTextSlack) return nullptr;
  auto* text = static_cast<uint8_t*>(allocate(size + kTextSlack));
  if (text != nullptr) std::memset(text + size, 0, kTextSlack);
  return text;
}

KeymapCompiler* createCompiler(EngineState& engine, KeymapPlatform& platform) {
  auto* compiler = new (std::nothrow) KeymapCompiler();
  if (compiler == nullptr) {
    KeymapDiagnostic diagnostic;
    diagnostic.text = keymap_messages::kReadError;
    diagnostic.shown = true;
    platform.showKeymapMessage(diagnostic.text);
    platform.noteKeymapDiagnostic(diagnostic);
    return nullptr;
  }
  compiler->platform = &platform;
  compiler->engine = &engine;
  return compiler;
}

void finishLoad(KeymapCompiler* compiler, EngineState& engine) {
  if (compiler->outOfMemory) clearKeymaps(engine);
  std::free(compiler->text);
  delete compiler;
}

}  // namespace

bool readKeymapText(KeymapCompiler& compiler, const std::string& pathUtf8,
                    KeymapTextAllocator allocate) {
  KeymapPlatform& platform = *compiler.platform;
  uint32_t size = 0;
  if (!platform.openKeymapFile(pathUtf8, size)) {
    reportKeymapError(compiler, keymap_messages::kFileMissing);
    reportKeymapMessage(compiler, pathUtf8, KeymapDiagnosticKind::kMissingPath);
    return false;
  }
  uint8_t* text = allocateText(allocate, size);
  if (text == nullptr) {
    compiler.outOfMemory = true;
    platform.closeKeymapFile();
    reportKeymapError(compiler, keymap_messages::kReadError);
    return false;
  }
  if (!platform.readKeymapFile(text, size)) {
    reportKeymapError(compiler, keymap_messages::kReadError);
    platform.closeKeymapFile();
    std::free(text);
    return false;
  }
  platform.closeKeymapFile();
  text[size] = 0;
  compiler.text = text;
  compiler.textSize = size;
  return true;
}

void loadKeymapFileWith(EngineState& engine, KeymapPlatform& platform, const std::string& pathUtf8,
                        KeymapTextAllocator allocate) {
  clearKeymaps(engine);
  KeymapCompiler* compiler = createCompiler(engine, platform);
  if (compiler == nullptr) return;
  if (readKeymapText(*compiler, pathUtf8, allocate)) compileKeymapText(*compiler, engine);
  finishLoad(compiler, engine);
}

void loadKeymapFile(EngineState& engine, KeymapPlatform& platform, const std::string& pathUtf8) {
  loadKeymapFileWith(engine, platform, pathUtf8, allocateWithMalloc);
}

void loadKeymapText(EngineState& engine, KeymapPlatform& platform, const uint8_t* bytes,
                    size_t size) {
  clearKeymaps(engine);
  KeymapCompiler* compiler = createCompiler(engine, platform);
  if (compiler == nullptr) return;
  uint8_t* text = allocateText(allocateWithMalloc, size);
  if (text == nullptr) {
    compiler->outOfMemory = true;
    reportKeymapError(*compiler, keymap_messages::kReadError);
  } else {
    if (size != 0) std::memcpy(text, bytes, size);
    compiler->text = text;
    compiler->textSize = static_cast<uint32_t>(size > UINT32_MAX ? UINT32_MAX : size);
    compileKeymapText(*compiler, engine);
  }
  finishLoad(compiler, engine);
}

void loadKeymapText(EngineState& engine, KeymapPlatform& platform, const std::string& text) {
  loadKeymapText(engine, platform, reinterpret_cast<const uint8_t*>(text.data()), text.size());
}
