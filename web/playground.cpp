#include "web/playground.h"

#include "engine/key_names.h"
#include "engine/option_table.h"
#include "engine/virtual_keys.h"
#include "keymap/host_keymap_platform.h"
#include "keymap/keymap_compiler.h"
#include "sim/views/event_listing.h"
#include "sim/views/keymap_diagnostics.h"
#include "sim/views/keymap_table.h"
#include "sim/views/live_screen.h"
#include "sim/views/option_labels.h"
#include "web/json_text.h"

namespace {

void candidateRow(JsonText& json, const char* name, const CandidateRow& row) {
  json.key(name).beginObject();
  json.key("key").value(row.column < 0 ? std::string() : keypadKeyName(row.column));
  json.key("texts").strings(row.texts);
  json.key("current").value(int64_t{row.current});
  json.endObject();
}

// The options of the page, in the order of the settings dialog, then the
// advanced dialog's one that acts on the keypad.
constexpr uint32_t kPageOptions[] = {
    kOptionAutoAdvance, kOptionAdvanceAfterStep, kOptionAutoCapsLock,
    kOptionNicoTouch,   kOptionImeControl,       kOptionClearCancelsStroke,
};

void padKey(JsonText& json, const std::string& label, uint8_t vk) {
  json.beginObject().key("label").value(label).key("vk").value(int64_t{vk}).endObject();
}

}  // namespace

std::string Playground::controls() {
  JsonText json;
  json.beginObject().key("modes").beginArray();
  for (uint32_t bits : {0u, uint32_t{kOptionKanaToggle}, uint32_t{kOptionTwoTouch}}) {
    json.beginObject().key("label").value(inputModeName(bits)).key("bits").value(int64_t{bits});
    json.endObject();
  }
  json.endArray().key("options").beginArray();
  for (uint32_t bit : kPageOptions) {
    json.beginObject().key("label").value(optionLabel(bit)).key("bit").value(int64_t{bit});
    json.endObject();
  }
  json.endArray();
  json.key("modeBits").value(int64_t{kOptionKanaToggle | kOptionTwoTouch});
  json.key("timeoutOption").value(int64_t{kOptionAutoAdvance});
  json.key("defaultOptions").value(int64_t{kDefaultOptions});
  json.key("defaultTimeout").value(int64_t{kDefaultTimeoutMs});
  json.key("keys").beginArray();
  for (int column = 0; column < kKeypadColumns; ++column) {
    padKey(json, keypadKeyName(column), kKeypadVk[column]);
  }
  padKey(json, "→", kVkRight);
  padKey(json, "クリア", kVkBack);
  return json.endArray().endObject().text();
}

std::string Playground::start(const std::string& keymapText, uint32_t options, int32_t timeoutMs,
                              bool imeOn) {
  settings_ = SimSettings{};
  settings_.keymapText = "";
  // Only the bits the settings store keeps are settings.
  settings_.options = options & kStoredOptionsMask;
  settings_.timeoutMs = timeoutMs;
  settings_.imeOn = imeOn;
  startDevice();
  return keymap(keymapText);
}

void Playground::startDevice() {
  device_ = std::make_unique<SimDevice>();
  device_->onDelivered = [this](const SimEvent& event) { record(formatSimEvent(event)); };
  device_->onImeSwitched = [this](bool on) { record(formatImeSwitch(on)); };
  device_->start(settings_);
  events_.clear();
}

std::string Playground::keymap(const std::string& keymapText) {
  EngineState scratch;
  setEngineDefaults(scratch);
  HostKeymapPlatform platform;
  loadKeymapText(scratch, platform, keymapText);
  clearKeymaps(scratch);
  bool clean = true;
  JsonText json;
  json.beginObject().key("lines").beginArray();
  for (const KeymapDiagnostic& diagnostic : platform.diagnostics()) {
    if (!isKeymapWarning(diagnostic.kind)) clean = false;
    for (const KeymapCheckLine& line : keymapCheckLines(diagnostic)) {
      json.beginObject().key("line").value(int64_t{line.line}).key("text").value(line.text);
      json.endObject();
    }
  }
  json.endArray();
  if (clean) {
    settings_.keymapText = keymapText;
    device_->loadKeymap(settings_);
  }
  json.key("clean").value(clean);
  json.key("inUse").value(clean || *settings_.keymapText == keymapText);
  return json.endObject().text();
}

std::string Playground::settings(uint32_t options, int32_t timeoutMs) {
  settings_.options = options & kStoredOptionsMask;
  settings_.timeoutMs = timeoutMs;
  device_->applySettings(options, timeoutMs);
  return state();
}

std::string Playground::key(uint8_t vk, bool down, uint32_t timeMs) {
  const size_t posted = device_->postedCommands().size();
  device_->setTime(timeMs);
  device_->keyEvent(vk, down);
  // The window commands the key posted, after its events (the page starts
  // no program and turns no screen).
  const auto& commands = device_->postedCommands();
  for (size_t i = posted; i < commands.size(); ++i) {
    record(formatPostedCommand(commands[i].first, commands[i].second));
  }
  return state();
}

std::string Playground::ime(bool on) {
  device_->switchIme(on);
  return state();
}

std::string Playground::clearText() {
  // A fresh device with the keymap in use and the settings; the IME as it is.
  settings_.imeOn = device_->ime().imeOn();
  startDevice();
  return state();
}

std::string Playground::state() {
  const InputStateView view = inputStateView(*device_);
  JsonText json;
  json.beginObject();
  json.key("committed").value(device_->ime().committedText());
  json.key("composition").value(device_->ime().composition());
  json.key("mode").value(view.mode);
  json.key("keymap").value(view.keymap);
  json.key("slot").value(int64_t{device_->engine().activeKeymap});
  json.key("ime").value(view.ime);
  json.key("imeOn").value(device_->ime().imeOn());
  json.key("imeMode").value(view.imeMode);
  json.key("options").value(view.options);
  candidateRow(json, "toggle", view.toggle);
  candidateRow(json, "forms", view.forms);
  candidateRow(json, "firstStroke", view.firstStroke);
  json.key("events").strings(events_);
  events_.clear();
  return json.endObject().text();
}

std::string Playground::padLabels() {
  JsonText json;
  json.beginArray();
  const KeymapImage* image = activeKeymapImage(device_->engine());
  for (int column = 0; column < kKeypadColumns; ++column) {
    json.strings(image == nullptr ? std::vector<std::string>()
                                  : keyActionTexts(*device_, *image, column, kMostTablePresses));
  }
  return json.endArray().text();
}

std::string Playground::table(int slot) {
  return formatKeymapTable(buildKeymapTable(settings_, slot, settings_.options));
}
