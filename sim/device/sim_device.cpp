#include "sim/device/sim_device.h"

#include "engine/key_event.h"
#include "keymap/host_keymap_platform.h"
#include "keymap/keymap_compiler.h"
#include "sim/device/ime_emulation.h"

SimDevice::SimDevice() : SimDevice(std::make_unique<ImeEmulation>()) {}

SimDevice::SimDevice(std::unique_ptr<DeviceIme> ime) : ime_(std::move(ime)) {
  engine_.keyOutput = &injected_;
  engine_.imeControl = ime_.get();
  engine_.systemKeys = &delivered_;
  engine_.keyboardLayout = &keyboardLayout_;
  setEngineDefaults(engine_);
}

SimDevice::~SimDevice() {
  clearKeymaps(engine_);
}

std::vector<std::string> SimDevice::start(const SimSettings& settings) {
  clearKeymaps(engine_);
  setEngineDefaults(engine_);
  engine_.options = settings.options;
  engine_.screenRotated = settings.screenRotated;
  engine_.timeoutMs = settings.timeoutMs;
  engine_.mainWindow = &commands_;
  ime_->switchTo(settings.imeOn);
  ime_->setLayout(settings.layout);
  keyboardLayout_.layout = settings.layout;
  selectModeKeymap(engine_);
  return loadKeymap(settings);
}

std::vector<std::string> SimDevice::loadKeymap(const SimSettings& settings) {
  HostKeymapPlatform platform;
  if (settings.keymapText) {
    loadKeymapText(engine_, platform, *settings.keymapText);
  } else {
    loadKeymapFile(engine_, platform, settings.keymapPath);
  }
  return platform.messages();
}

void SimDevice::applySettings(uint32_t options, int32_t timeoutMs) {
  constexpr uint32_t kSlotChoice =
      kOptionKanaToggle | kOptionTwoTouch | kOptionNicoTouch | kOptionRotationMask;
  const uint32_t changed = engine_.options ^ (options & kStoredOptionsMask);
  engine_.options = options & kStoredOptionsMask;
  engine_.timeoutMs = timeoutMs;
  if ((changed & kSlotChoice) != 0) selectModeKeymap(engine_);
  if ((changed & kOptionNumericKeypad) != 0) {
    // Other keys are the keypad from the next key event on.
    selectKeypadKeys(engine_);
    resetInputState(engine_);
  }
}

void SimDevice::keyEvent(uint8_t vk, bool down) {
  const uint32_t message = down ? kMessageKeyDown : kMessageKeyUp;
  const uint32_t untypable = engine_.untypableCount;
  const bool swallowed = handleKeyEvent(engine_, {vk, message, time_});
  if (!swallowed) deliver({down, vk, true});
  deliverInjected();
  // Noted after what the key press sent, as the engine passed it over there.
  if (engine_.untypableCount != untypable && onUntypable) onUntypable(engine_.lastUntypable);
}

void SimDevice::switchIme(bool on) {
  if (onImeSwitched) onImeSwitched(on);
  ime_->switchTo(on);
}

void SimDevice::pressKey(uint8_t vk) {
  keyEvent(vk, true);
  keyEvent(vk, false);
  time_ += kKeyPressMs;
}

void SimDevice::deliverInjected() {
  // Injected events come back through the hook with the own-event marker and
  // pass it; only then do they reach the IME.
  std::vector<SimEvent> events;
  events.swap(injected_.events);
  for (const SimEvent& event : events) {
    if (onInjected) onInjected(event);
    const uint32_t message = event.down ? kMessageKeyDown : kMessageKeyUp;
    if (handleKeyEvent(engine_, {event.vk, message, time_, true})) continue;
    deliver(event);
  }
}

void SimDevice::deliver(const SimEvent& event) {
  delivered_.held[event.vk] = event.down;
  if (onDelivered) onDelivered(event);
  if (event.down) {
    ime_->sendKeyDown(event.vk);
  } else {
    ime_->sendKeyUp(event.vk);
  }
}
