// The emulated IME against a real one. Every cell of the default keymap's
// tables in the three input modes, and seeded random key scripts, are typed
// with `type --events`; the listed key stream is replayed into mozc and into
// a fresh emulation. The emulation's text must be the listed text (so the
// listing is the whole stream) and mozc's text must be the same. Where mozc
// legitimately differs, the case is compared up to the key the rule applies
// to and then left out, counted under the rule.
#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "sim/device/ime_emulation.h"
#include "sim/device/keyboard_state.h"
#include "sim/mozc/mozc_ime.h"
#include "sim/views/event_listing.h"
#include "sim/views/sim_commands.h"
#include "tests/sim/sim_fixture.h"

namespace {

const char kCapitalRule[] =
    "a capital letter turns mozc to half-width ASCII until the composition is committed";
const char kSpaceRule[] = "a space inside a composition makes the IME convert it to kanji";

struct Case {
  uint32_t options;
  bool imeOn;
  std::string script;
};

std::string hex(uint32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "%x", value);
  return text;
}

std::string describe(const Case& c) {
  return "--options " + hex(c.options) + " --ime " + (c.imeOn ? "on " : "off ") + c.script;
}

// The rule under which mozc may differ from the emulation from this key on,
// judged on the emulation's state before the key; nullptr when none applies.
const char* exclusionRule(const ImeEmulation& ime, uint8_t vk) {
  if (!ime.composesKana()) return nullptr;
  const char c = typedCharacter(ime.keyboard, vk);
  if (c >= 'A' && c <= 'Z') return kCapitalRule;
  if (c == ' ' && ime.committed != ime.text()) return kSpaceRule;
  return nullptr;
}

std::string printable(const std::string& text) {
  std::string out;
  for (char c : text) out += c == '\n' ? std::string("\\n") : std::string(1, c);
  return out;
}

class MozcComparisonTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    ASSERT_TRUE(mozc_.start(error)) << error;
  }

  void TearDown() override {
    std::string summary = "compared " + std::to_string(compared_) + " of " +
                          std::to_string(total_) + " cases in full";
    for (const auto& [rule, count] : excluded_) {
      summary += "; " + std::to_string(count) + " up to the key where " + rule;
    }
    std::printf("%s\n", summary.c_str());
    RecordProperty("comparison", summary);
  }

  void compare(const Case& c) {
    ++total_;
    std::vector<std::string> args = {"type", "--keymap", defaultKeymapFile(), "--events"};
    args.insert(args.end(), {"--options", hex(c.options), "--ime", c.imeOn ? "on" : "off"});
    for (const std::string& token : scriptTokens(c.script)) args.push_back(token);
    SimCommandLine line;
    std::string error;
    ASSERT_TRUE(parseSimCommandLine(args, line, error)) << error;
    SimOutput output;
    ASSERT_EQ(runTypeCommand(line, std::make_unique<ImeEmulation>(), output), 0) << output.err;

    ImeEmulation replay;
    replay.switchTo(c.imeOn);
    MozcIme mozc(mozc_);
    mozc.switchTo(c.imeOn);
    std::istringstream lines(output.out);
    std::string listed;
    std::string listedText;
    const char* rule = nullptr;
    while (std::getline(lines, listed)) {
      if (listed.rfind("text: ", 0) == 0) listedText = listed.substr(6);
      ListedEvent event;
      if (rule != nullptr || !parseListedEvent(listed, event)) continue;
      if (event.imeSwitch) {
        replay.switchTo(event.imeOn);
        mozc.switchTo(event.imeOn);
        continue;
      }
      if (event.key.down) rule = exclusionRule(replay, event.key.vk);
      if (rule != nullptr) continue;
      if (event.key.down) {
        replay.sendKeyDown(event.key.vk);
        mozc.sendKeyDown(event.key.vk);
      } else {
        replay.sendKeyUp(event.key.vk);
        mozc.sendKeyUp(event.key.vk);
      }
    }
    ASSERT_EQ(mozc.failure(), "") << describe(c);
    if (rule == nullptr) {
      EXPECT_EQ(printable(replay.text()), listedText) << "listing incomplete: " << describe(c);
      ++compared_;
    } else {
      ++excluded_[rule];
    }
    EXPECT_EQ(mozc.text(), replay.text()) << describe(c);
  }

  MozcHelper mozc_;
  int total_ = 0;
  int compared_ = 0;
  std::map<std::string, int> excluded_;
};

// The number of forms that * steps through after action n of a key.
int charListForms(const KeymapImage& image, int column, uint32_t n) {
  const uint8_t* record = keyActionRecord(image, readKeyRecord(image, column), n);
  return record != nullptr && actionKind(record) == kActionChar ? charListCount(record) : 1;
}

// Toggle slots: each candidate of each key, and each of its * forms.
void toggleCases(const KeymapImage& image, uint32_t options, bool imeOn, std::vector<Case>& out) {
  for (int column = 0; column < kKeypadColumns; ++column) {
    const KeyRecord key = readKeyRecord(image, column);
    if (key.type != kKeyTypeToggle) continue;
    for (uint32_t presses = 1; presses <= key.actionCount + 1u; ++presses) {
      const int forms = charListForms(image, column, (presses - 1) % key.actionCount);
      for (int stars = 0; stars <= (forms > 1 ? forms : 0); ++stars) {
        out.push_back(
            {options, imeOn, std::string(presses, kKeypadKeys[column]) + std::string(stars, '*')});
      }
    }
  }
}

// 2-touch slots: each pair, each of its * forms, and (pager) the marks after it.
void pairCases(const KeymapImage& image, uint32_t options, bool imeOn, bool marks,
               std::vector<Case>& out) {
  for (int first = 0; first < kKeypadColumns; ++first) {
    if (readKeyRecord(image, first).actionCount != kKeypadColumns) continue;
    for (int second = 0; second < kKeypadColumns; ++second) {
      const std::string pair = {kKeypadKeys[first], kKeypadKeys[second]};
      const int forms = charListForms(image, first, second);
      for (int stars = 0; stars <= (forms > 1 ? forms : 0); ++stars) {
        out.push_back({options, imeOn, pair + std::string(stars, '*')});
      }
      if (marks) {
        out.push_back({options, imeOn, pair + " 04"});
        out.push_back({options, imeOn, pair + " 05"});
      }
    }
  }
}

TEST_F(MozcComparisonTest, EveryCellOfTheDefaultKeymapTablesInTheThreeModes) {
  SimDevice device;
  startDevice(device, kKanaToggleMode, true);
  const KeymapImage* slots = device.engine().keymaps;
  std::vector<Case> cases;
  for (uint32_t imeControl : {0u, uint32_t{kOptionImeControl}}) {
    toggleCases(slots[kSlotKana], kKanaToggleMode | imeControl, true, cases);
    pairCases(slots[kSlotTwoTouch], kTwoTouchMode | imeControl, true, true, cases);
    pairCases(slots[kSlotNicoTouch], kNicoTouchMode | imeControl, true, false, cases);
  }
  toggleCases(slots[kSlotAlphanumeric], kKanaToggleMode, false, cases);
  pairCases(slots[kSlotTwoTouch], kTwoTouchMode, false, false, cases);
  pairCases(slots[kSlotNicoTouch], kNicoTouchMode, false, false, cases);
  for (const Case& c : cases) compare(c);
  EXPECT_GE(compared_ * 4, total_ * 3) << "the exclusions leave too little compared";
}

// Scripts a user could type: keypad keys with the occasional clear key,
// right arrow, pause, Enter, space, letter or IME switch, in every mode with
// and without IME control and auto-advance.
Case randomCase(std::mt19937& random) {
  const uint32_t modes[] = {kKanaToggleMode, kTwoTouchMode, kNicoTouchMode};
  Case c{modes[random() % 3], random() % 5 != 0, ""};
  if (random() % 3 == 0) c.options |= kOptionImeControl;
  if (random() % 3 == 0) {
    c.options |= kOptionAutoAdvance;
    if (random() % 2 != 0) c.options |= kOptionAdvanceAfterStep;
  }
  const int length = 8 + static_cast<int>(random() % 23);
  for (int i = 0; i < length; ++i) {
    const uint32_t pick = random() % 100;
    std::string token;
    if (pick < 70) {
      token = std::string(1, kKeypadKeys[random() % 12]);
    } else if (pick < 75) {
      token = "C";
    } else if (pick < 80) {
      token = ">";
    } else if (pick < 85) {
      token = "+1200";
    } else if (pick < 89) {
      token = "vk:0D";
    } else if (pick < 92) {
      token = "vk:20";
    } else if (pick < 97) {
      char letter[8];
      std::snprintf(letter, sizeof letter, "vk:%02X", 0x41 + static_cast<int>(random() % 26));
      token = letter;
    } else {
      token = random() % 2 == 0 ? "ime:on" : "ime:off";
    }
    c.script += (i == 0 ? "" : " ") + token;
  }
  return c;
}

TEST_F(MozcComparisonTest, SeededRandomKeyScripts) {
  std::mt19937 random(15);
  for (int i = 0; i < 300; ++i) compare(randomCase(random));
  EXPECT_GE(compared_ * 2, total_) << "the exclusions leave too little compared";
}

}  // namespace
