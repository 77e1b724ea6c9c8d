// The key event path runs inside the system's keyboard hook and must never
// allocate. This program replaces the allocator to count every allocation
// made while random events go through handleKeyEvent on the default keymap.
#include <gtest/gtest.h>

#include <cstdlib>
#include <new>
#include <random>

#include "engine/key_event.h"
#include "tests/support/default_keymap_engine.h"

extern "C" void* __libc_malloc(size_t);
extern "C" void* __libc_calloc(size_t, size_t);
extern "C" void* __libc_realloc(void*, size_t);
extern "C" void* __libc_memalign(size_t, size_t);
extern "C" void __libc_free(void*);

namespace {
bool counting = false;
unsigned long allocations = 0;
void noteAllocation() {
  if (counting) ++allocations;
}
}  // namespace

extern "C" void* malloc(size_t size) {
  noteAllocation();
  return __libc_malloc(size);
}
extern "C" void* calloc(size_t count, size_t size) {
  noteAllocation();
  return __libc_calloc(count, size);
}
extern "C" void* realloc(void* p, size_t size) {
  noteAllocation();
  return __libc_realloc(p, size);
}
extern "C" void free(void* p) {
  __libc_free(p);
}

void* operator new(size_t size) {
  noteAllocation();
  if (void* p = __libc_malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}
void* operator new[](size_t size) {
  return operator new(size);
}
void* operator new(size_t size, std::align_val_t align) {
  noteAllocation();
  if (void* p = __libc_memalign(static_cast<size_t>(align), size ? size : 1)) return p;
  throw std::bad_alloc();
}
void* operator new[](size_t size, std::align_val_t align) {
  return operator new(size, align);
}
void operator delete(void* p) noexcept {
  __libc_free(p);
}
void operator delete[](void* p) noexcept {
  __libc_free(p);
}
void operator delete(void* p, size_t) noexcept {
  __libc_free(p);
}
void operator delete[](void* p, size_t) noexcept {
  __libc_free(p);
}
void operator delete(void* p, std::align_val_t) noexcept {
  __libc_free(p);
}
void operator delete[](void* p, std::align_val_t) noexcept {
  __libc_free(p);
}

namespace {

// The keypad, then the keys the engine treats apart: clear key, right arrow,
// Shift, Ctrl, a letter and the swapped keys.
constexpr uint32_t kOtherKeys[] = {0x08, 0x27, 0x10, 0x11, 0x41, 0x14, 0x1B, 0xF3};
constexpr uint32_t kKeyCount = kKeypadColumns + sizeof kOtherKeys / sizeof kOtherKeys[0];

uint32_t keyAt(uint32_t index) {
  return index < kKeypadColumns ? kKeypadVk[index] : kOtherKeys[index - kKeypadColumns];
}
constexpr uint32_t kMessages[] = {kMessageKeyDown, kMessageKeyUp, kMessageSysKeyDown,
                                  kMessageSysKeyUp};
constexpr uint32_t kModes[] = {kOptionKanaToggle, kOptionKanaToggle | kOptionAutoAdvance,
                               kOptionTwoTouch, kOptionTwoTouch | kOptionNicoTouch, 0};

TEST(EventAllocationTest, RandomEventsOnTheDefaultKeymapAllocateNothing) {
  DefaultKeymapEngine bench;  // loading the keymap may allocate; events may not
  EngineState& engine = bench.engine;
  ASSERT_NE(engine.keymaps[kSlotKana].bytes, nullptr);
  std::minstd_rand random(12345);
  uint32_t time = 0;
  unsigned long events = 0;
  counting = true;
  for (int round = 0; round < 50; ++round) {
    engine.options = kDefaultOptions | kOptionSwapCtrlCaps | kOptionSwapEscHankaku |
                     kOptionImeControl | kModes[round % 5] |
                     ((round & 8) ? uint32_t{kOptionAdvanceAfterStep} : 0u);
    bench.ime.open = (round & 2) != 0;
    selectModeKeymap(engine);
    for (int i = 0; i < 200; ++i) {
      const uint32_t vk = keyAt(random() % kKeyCount);
      const uint32_t message = kMessages[random() % 4];
      time += static_cast<uint32_t>(random() % 1500);
      handleKeyEvent(engine, {vk, message, time});
      ++events;
    }
  }
  counting = false;
  EXPECT_EQ(events, 10000u);
  EXPECT_GT(bench.output.events, 2000u);  // the stream really typed
  EXPECT_EQ(allocations, 0u);
}

// The counter itself must see allocations, or the test above proves nothing.
TEST(EventAllocationTest, TheCounterSeesAllocations) {
  counting = true;
  void* p = std::malloc(16);
  auto* q = new int(3);
  counting = false;
  std::free(p);
  delete q;
  EXPECT_EQ(allocations, 2u);
  allocations = 0;
}

}  // namespace
