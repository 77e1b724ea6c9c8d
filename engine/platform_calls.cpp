#include "engine/platform_calls.h"

void sendKeyDown(EngineState& engine, uint8_t vk) {
  if (engine.keyOutput != nullptr) engine.keyOutput->sendKeyDown(vk);
}

void sendKeyUp(EngineState& engine, uint8_t vk) {
  if (engine.keyOutput != nullptr) engine.keyOutput->sendKeyUp(vk);
}

void tapKey(EngineState& engine, uint8_t vk) {
  sendKeyDown(engine, vk);
  sendKeyUp(engine, vk);
}

void tapBackspace(EngineState& engine) {
  tapKey(engine, kVkBack);
  ++engine.backspacesInEvent;
}

void imeToggleChord(EngineState& engine) {
  sendKeyDown(engine, kVkLeftMenu);
  sendKeyDown(engine, kVkKanji);
  sendKeyUp(engine, kVkKanji);
  sendKeyUp(engine, kVkLeftMenu);
}

bool imeIsOpen(EngineState& engine) {
  if (engine.imeControl == nullptr) return false;
  const ImeAnswer open = engine.imeControl->openStatus();
  return open.known && open.value != 0;
}

uint32_t imeConversionMode(EngineState& engine) {
  if (engine.imeControl == nullptr) return 0;
  const ImeAnswer mode = engine.imeControl->conversionStatus();
  return mode.known ? mode.value : 0;
}

uint32_t imeCompositionLength(EngineState& engine) {
  return engine.imeControl != nullptr ? engine.imeControl->compositionLength() : 0;
}

void refreshImeStatus(EngineState& engine) {
  if (imeIsOpen(engine)) {
    engine.imeStatus |= kImeStatusOpen;
  } else {
    engine.imeStatus &= ~kImeStatusOpen;
  }
}

void switchIme(EngineState& engine) {
  ImeControl* ime = engine.imeControl;
  if (imeIsOpen(engine)) {
    if (ime != nullptr) ime->setOpen(false);
    engine.imeStatus &= ~kImeStatusOpen;
  } else {
    if (ime != nullptr) {
      ime->setOpen(true);
      ime->setConversionMode(kImeConversionHiraganaRoman, 0);
    }
    engine.imeStatus |= kImeStatusOpen;
  }
}
