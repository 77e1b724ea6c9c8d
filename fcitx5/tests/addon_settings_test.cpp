// The add-on's settings as the configuration tool hands them over, and what
// they set in the engine.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "fcitx5/addon_config.h"

namespace {

struct SettingsCase {
  std::vector<std::pair<const char*, const char*>> stored;
  uint32_t options;
  int32_t timeoutMs;
};

constexpr uint32_t kDefaults =
    kOptionKanaToggle | kOptionAutoCapsLock | kOptionClearCancelsStroke | kOptionNumericKeypad;

TEST(AddonSettingsTest, StoredSettingsSetTheirOptionBits) {
  const SettingsCase cases[] = {
      {{}, kDefaults, 1000},
      {{{"InputMode", "TwoTouch"}, {"NicoTouch", "True"}},
       kDefaults - kOptionKanaToggle + kOptionTwoTouch + kOptionNicoTouch,
       1000},
      {{{"InputMode", "None"},
        {"AutoCapsLock", "False"},
        {"ClearCancelsStroke", "False"},
        {"NumericKeypad", "False"}},
       0,
       1000},
      {{{"AutoAdvance", "True"}, {"Timeout", "350"}}, kDefaults + kOptionAutoAdvance, 350},
      {{{"AdvanceAfterStep", "True"}}, kDefaults + kOptionAdvanceAfterStep, 1000},
      {{{"ImeControl", "True"}}, kDefaults + kOptionImeControl, 1000},
      // What no dialog could have written keeps the default.
      {{{"InputMode", "kana"}, {"Timeout", "-5"}, {"AutoAdvance", "yes"}}, kDefaults, 1000},
  };
  for (const SettingsCase& c : cases) {
    fcitx::RawConfig raw;
    for (const auto& [name, value] : c.stored) raw.setValueByPath(name, value);
    AddonConfig config;
    config.load(raw, true);
    const AddonSettings settings = settingsOf(config);
    const uint32_t options = engineOptionsOf(settings);
    const std::string shown = c.stored.empty() ? "(none)" : c.stored[0].first;
    EXPECT_EQ(options, c.options) << shown << std::hex << " got " << options;
    EXPECT_EQ(settings.timeoutMs, c.timeoutMs) << shown;
    // The swaps and the rotation are Windows features, never set here.
    EXPECT_EQ(options & (kOptionSwapCtrlCaps | kOptionSwapEscHankaku | kOptionRotationMask), 0u);
  }
}

struct PathCase {
  const char* stored;
  const char* file;
};

TEST(AddonSettingsTest, KeymapPathsAreFoundFromHome) {
  const PathCase cases[] = {
      {"", "/usr/lib/fcitx5/padquiltkana/defaultkeymap.txt"},
      {"/etc/pqk/mine.txt", "/etc/pqk/mine.txt"},
      {"~/keymaps/mine.txt", "/home/user/keymaps/mine.txt"},
      {"mine.txt", "/home/user/mine.txt"},
      {"~", "/home/user"},
  };
  for (const PathCase& c : cases) {
    AddonSettings settings;
    settings.keymapPath = c.stored;
    EXPECT_EQ(keymapFileOf(settings, "/home/user", "/usr/lib/fcitx5/padquiltkana"), c.file)
        << c.stored;
  }
}

}  // namespace
