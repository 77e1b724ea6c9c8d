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

namespace {

void setImeStatusBit(EngineState& engine, uint32_t bit, bool on) {
  if (on) {
    engine.imeStatus |= bit;
  } else {
    engine.imeStatus &= ~bit;
  }
}

// Keeps an answer's word in imeStatus; false (with the unanswered bit) when
// there was none.
bool takeImeAnswer(EngineState& engine, ImeAnswer answer) {
  setImeStatusBit(engine, kImeStatusUnanswered, !answer.known);
  return answer.known;
}

bool askImeOpen(EngineState& engine) {
  const ImeAnswer open = engine.imeControl ? engine.imeControl->openStatus() : kImeUnanswered;
  if (!takeImeAnswer(engine, open)) return false;
  setImeStatusBit(engine, kImeStatusOpen, open.value != 0);
  if (open.value == 0) setImeStatusBit(engine, kImeStatusKanaInput, false);
  return true;
}

// A kana mode without roman input is kana input: the IME reads the keys as
// the kana printed on them.
bool isKanaInput(uint32_t conversion) {
  return (conversion & kImeConversionNative) != 0 && (conversion & kImeConversionRoman) == 0;
}

}  // namespace

uint32_t imeCompositionLength(EngineState& engine) {
  return engine.imeControl != nullptr ? engine.imeControl->compositionLength() : 0;
}

void refreshImeOpen(EngineState& engine) {
  askImeOpen(engine);
}

void refreshImeStatus(EngineState& engine) {
  if (!askImeOpen(engine) || !imeKnownOpen(engine)) return;
  const ImeAnswer conversion = engine.imeControl->conversionStatus();
  if (!takeImeAnswer(engine, conversion)) return;
  engine.imeConversion = conversion.value;
  setImeStatusBit(engine, kImeStatusKanaInput, isKanaInput(conversion.value));
}

void switchIme(EngineState& engine) {
  ImeControl* ime = engine.imeControl;
  refreshImeOpen(engine);
  if (imeKnownOpen(engine)) {
    if (ime != nullptr) ime->setOpen(false);
    setImeStatusBit(engine, kImeStatusOpen, false);
  } else {
    if (ime != nullptr) {
      ime->setOpen(true);
      ime->setConversionMode(kImeConversionHiraganaRoman, 0);
    }
    setImeStatusBit(engine, kImeStatusOpen, true);
    engine.imeConversion = kImeConversionHiraganaRoman;
  }
  setImeStatusBit(engine, kImeStatusKanaInput, false);
}
