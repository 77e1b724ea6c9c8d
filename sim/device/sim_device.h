// The engine on a simulated device: real key events enter through the
// engine's front door, the events it passes and the events it injects reach
// the emulated keyboard and IME in the order the device would deliver them.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/engine_state.h"
#include "sim/device/device_ime.h"
#include "sim/device/device_keyboard.h"

struct SimSettings {
  std::string keymapPath;
  // The keymap text itself: when set, it is compiled instead of the file at
  // keymapPath (which then only names it).
  std::optional<std::string> keymapText;
  uint32_t options = 0;
  bool screenRotated = false;  // the device starts with its screen turned
  int32_t timeoutMs = 1000;
  bool imeOn = true;
  SimLayout layout = SimLayout::kUs;  // the device keyboard's
};

// One event on its way to the device, as --events prints it.
struct SimEvent {
  bool down;
  uint8_t vk;
  bool passed = false;  // the user's own key, let through by the engine
};

// Keeps the engine's injected events until the hook call has returned: on
// the device they are queued behind the event being handled.
struct InjectedKeyQueue final : KeyOutput {
  std::vector<SimEvent> events;
  void sendKeyDown(uint8_t vk) override { events.push_back({true, vk}); }
  void sendKeyUp(uint8_t vk) override { events.push_back({false, vk}); }
};

// The keys the device holds down: every event that reached it, in order.
struct DeliveredKeyState final : SystemKeyState {
  bool held[256] = {};
  bool isKeyDown(uint8_t vk) override { return held[vk]; }
};

// Window commands the engine posts (run program, rotate screen), kept for
// display; the simulator carries none of them out.
struct PostedCommandLog final : WindowCommandSink {
  std::vector<std::pair<uint32_t, uintptr_t>> posted;
  void postWindowCommand(uint32_t command, uintptr_t param) override {
    posted.emplace_back(command, param);
  }
};

class SimDevice {
 public:
  // A device with the simulator's emulated IME, or with the IME given.
  SimDevice();
  explicit SimDevice(std::unique_ptr<DeviceIme> ime);
  ~SimDevice();
  SimDevice(const SimDevice&) = delete;
  SimDevice& operator=(const SimDevice&) = delete;

  // Sets the engine up as the program does at start-up: defaults, the
  // settings, the mode's keymap slot, then the keymap file. Returns the
  // compiler's messages (empty when the file compiled cleanly).
  std::vector<std::string> start(const SimSettings& settings);

  // Loads the keymap of `settings` (its path or text) again, as "Keymap読込"
  // does: every slot is emptied and filled anew, the rest of the engine and
  // the IME keep their state. Returns the compiler's messages.
  std::vector<std::string> loadKeymap(const SimSettings& settings);

  // Changes the options and the timeout as the settings dialog does: a new
  // input mode, "ニコタッチ風" or rotation behaviour selects the mode's slot
  // (ending the input in progress), "テンキーを使う" chooses the keypad keys.
  // Only the bits the settings store keeps are taken.
  void applySettings(uint32_t options, int32_t timeoutMs);

  // One real key event at the current time.
  void keyEvent(uint8_t vk, bool down);
  // A key pressed and released at the current time; then 100 ms pass.
  void pressKey(uint8_t vk);
  void wait(uint32_t ms) { time_ += ms; }
  // The user's IME key: on (hiragana, roman input) or off.
  void switchIme(bool on);
  // Makes `slot` the active keymap, as command 4 does.
  void selectSlot(int32_t slot) { selectKeymap(engine_, slot); }
  // The engine asks `layout` instead of the emulated keyboard which key
  // types a character (tests: a layout that lacks some).
  void useKeyboardLayout(KeyboardLayout& layout) { engine_.keyboardLayout = &layout; }
  SimLayout layout() const { return keyboardLayout_.layout; }

  std::string text() const { return ime_->text(); }
  const DeviceIme& ime() const { return *ime_; }
  const EngineState& engine() const { return engine_; }
  const std::vector<std::pair<uint32_t, uintptr_t>>& postedCommands() const {
    return commands_.posted;
  }
  uint32_t time() const { return time_; }
  void setTime(uint32_t time) { time_ = time; }

  // Called with every event the engine injects, before it is delivered.
  std::function<void(const SimEvent&)> onInjected;
  // Called with every event that reaches the IME, in order: the injected
  // ones and the user's keys that the engine passed.
  std::function<void(const SimEvent&)> onDelivered;
  // Called when the user's IME key switches the IME.
  std::function<void(bool on)> onImeSwitched;
  // Called with a character the engine passed over because the layout has
  // no key for it, after the events of the key press that typed it.
  std::function<void(char16_t character)> onUntypable;

 private:
  void deliverInjected();
  void deliver(const SimEvent& event);

  std::unique_ptr<DeviceIme> ime_;
  EngineState engine_;
  InjectedKeyQueue injected_;
  DeliveredKeyState delivered_;
  SimKeyboardLayout keyboardLayout_;
  PostedCommandLog commands_;
  uint32_t time_ = 0;
};

// Milliseconds a scripted key press takes.
constexpr uint32_t kKeyPressMs = 100;
