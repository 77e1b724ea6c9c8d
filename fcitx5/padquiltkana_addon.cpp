#include "fcitx5/padquiltkana_addon.h"

#include <dlfcn.h>
#include <fcitx-config/iniparser.h>
#include <fcitx-utils/log.h>
#include <fcitx/addonfactory.h>
#include <fcitx/addonmanager.h>
#include <fcitx/inputcontext.h>
#include <notifications_public.h>

#include <chrono>
#include <cstdlib>

#include "engine/key_event.h"
#include "keymap/host_keymap_platform.h"
#include "keymap/keymap_compiler.h"

FCITX_DEFINE_LOG_CATEGORY(padquiltkanaLog, "padquiltkana");

namespace {

constexpr const char* kConfigFile = "conf/padquiltkana.conf";
// The caption of every message the program shows.
constexpr const char* kProgramName = "padquiltkana";
// The folder beside the add-on's library that holds its data files.
constexpr const char* kDataFolderName = "padquiltkana";

constexpr uint32_t kUserLockStates = kStateCapsLock | kStateNumLock;

// The add-on's data folder: beside its own library, wherever that was put.
std::string addonDataFolder() {
  Dl_info info{};
  if (dladdr(reinterpret_cast<void*>(&addonDataFolder), &info) == 0 || info.dli_fname == nullptr) {
    return kDataFolderName;
  }
  std::string library = info.dli_fname;
  const size_t slash = library.rfind('/');
  const std::string folder = slash == std::string::npos ? "." : library.substr(0, slash);
  return folder + "/" + kDataFolderName;
}

std::string homeFolder() {
  const char* home = std::getenv("HOME");
  return home != nullptr ? home : "";
}

// The event's own time stamp (the X server's milliseconds); frontends that
// give none get the monotonic clock, which the X server's stamps follow too.
uint32_t eventTimeMs(int time) {
  if (time != 0) return static_cast<uint32_t>(time);
  const auto now = std::chrono::steady_clock::now().time_since_epoch();
  return static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

}  // namespace

PadquiltkanaAddon::PadquiltkanaAddon(fcitx::Instance* instance)
    : instance_(instance), imeControl_(*instance), dataFolder_(addonDataFolder()) {
  engine_.keyOutput = &output_;
  engine_.imeControl = &imeControl_;
  setEngineDefaults(engine_);
  fcitx::readAsIni(config_, kConfigFile);
  applySettings();

  watchers_.emplace_back(instance_->watchEvent(
      fcitx::EventType::InputContextKeyEvent, fcitx::EventWatcherPhase::PreInputMethod,
      [this](fcitx::Event& event) { handleKey(static_cast<fcitx::KeyEvent&>(event)); }));
  // A toggle or a first stroke does not carry over to another field, nor
  // past a reset of the composition it was typing into.
  for (const fcitx::EventType type :
       {fcitx::EventType::InputContextFocusOut, fcitx::EventType::InputContextReset,
        fcitx::EventType::InputContextSwitchInputMethod}) {
    watchers_.emplace_back(instance_->watchEvent(type, fcitx::EventWatcherPhase::PreInputMethod,
                                                 [this](fcitx::Event&) { endInput(); }));
  }
}

PadquiltkanaAddon::~PadquiltkanaAddon() {
  watchers_.clear();
  clearKeymaps(engine_);
}

void PadquiltkanaAddon::reloadConfig() {
  fcitx::readAsIni(config_, kConfigFile);
  applySettings();
}

void PadquiltkanaAddon::setConfig(const fcitx::RawConfig& config) {
  config_.load(config, true);
  fcitx::safeSaveAsIni(config_, kConfigFile);
  applySettings();
}

void PadquiltkanaAddon::applySettings() {
  const AddonSettings settings = settingsOf(config_);
  engine_.options = engineOptionsOf(settings);
  engine_.timeoutMs = settings.timeoutMs;
  selectKeypadKeys(engine_);
  resetInputState(engine_);
  selectModeKeymap(engine_);
  loadKeymap(settings);
}

void PadquiltkanaAddon::loadKeymap(const AddonSettings& settings) {
  const std::string path = keymapFileOf(settings, homeFolder(), dataFolder_);
  HostKeymapPlatform platform;
  loadKeymapFile(engine_, platform, path);
  if (!platform.messages().empty()) reportKeymapMessages(path, platform.messages());
}

void PadquiltkanaAddon::reportKeymapMessages(const std::string& path,
                                             const std::vector<std::string>& messages) {
  std::string body = path;
  for (const std::string& message : messages) {
    FCITX_LOGC(padquiltkanaLog, Error) << path << ": " << message;
    body += "\n" + message;
  }
  if (fcitx::AddonInstance* notifications = this->notifications()) {
    notifications->call<fcitx::INotifications::sendNotification>(
        kProgramName, 0, "dialog-error", kProgramName, body, std::vector<std::string>{}, -1,
        nullptr, nullptr);
  }
}

void PadquiltkanaAddon::endInput() {
  // The add-on's own keys can switch the input method (the IME key); they
  // belong to the input they were typed for.
  if (!output_.delivering()) resetInputState(engine_);
}

void PadquiltkanaAddon::handleKey(fcitx::KeyEvent& event) {
  if (output_.delivering()) return;
  fcitx::InputContext* ic = event.inputContext();
  const fcitx::Key key = event.rawKey();
  const uint8_t symbolVk = virtualKeyOfSymbol(key.sym());
  IncomingKeyEvent incoming;
  incoming.vk = event.isRelease() ? keyCodes_.release(key.code(), symbolVk)
                                  : keyCodes_.press(key.code(), symbolVk);
  incoming.message = event.isRelease() ? kMessageKeyUp : kMessageKeyDown;
  incoming.time = eventTimeMs(event.time());
  imeControl_.setInputContext(ic);
  const bool swallow = handleKeyEvent(engine_, incoming);
  imeControl_.setInputContext(nullptr);
  if (ic != nullptr) {
    output_.deliver(*ic, static_cast<uint32_t>(key.states()) & kUserLockStates, event.time());
  } else {
    output_.discard();
  }
  if (swallow) event.filterAndAccept();
}

class PadquiltkanaAddonFactory final : public fcitx::AddonFactory {
  fcitx::AddonInstance* create(fcitx::AddonManager* manager) override {
    return new PadquiltkanaAddon(manager->instance());
  }
};

FCITX_ADDON_FACTORY(PadquiltkanaAddonFactory)
