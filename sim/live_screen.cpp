#include "sim/live_screen.h"

#include "engine/key_names.h"
#include "engine/option_table.h"
#include "sim/action_text.h"
#include "sim/option_labels.h"

namespace {

// The options besides the input mode that change what the keypad does: the
// check boxes that are set, ニコタッチ風 aside (it is part of the mode).
std::string optionsLine(const EngineState& engine) {
  std::string line;
  for (const OptionRow& option : kOptionTable) {
    if (option.control != OptionControl::kCheckBox || option.bits == kOptionNicoTouch ||
        (engine.options & option.bits) == 0) {
      continue;
    }
    line += line.empty() ? "" : "  ";
    line += option.label;
    if (option.bits == kOptionAutoAdvance) line += " " + std::to_string(engine.timeoutMs) + "msec";
  }
  return line.empty() ? "-" : line;
}

std::string keymapName(const EngineState& engine) {
  if (engine.activeKeymap < 0 || engine.activeKeymap >= kKeymapSlots) return "キーマップ無し";
  std::string name = "キーマップ" + std::to_string(engine.activeKeymap);
  if (activeKeymapImage(engine) == nullptr) name += " (空)";
  return name;
}

std::string marked(const std::string& text, bool current) {
  return current ? "[" + text + "]" : text;
}

std::string toggleLine(const SimDevice& device, const KeymapImage* image) {
  const EngineState& engine = device.engine();
  if (engine.toggleKey == 0 || image == nullptr) return "トグル中: -";
  const int column = columnOf(engine.toggleKey);
  const KeyRecord key = readKeyRecord(*image, column);
  std::string line = "トグル中: キー" + keypadKeyName(column % kKeypadColumns) + " ";
  for (uint32_t n = 0; n < key.actionCount; ++n) {
    const uint8_t* record = keyActionRecord(*image, key, n);
    if (record == nullptr) break;
    const std::string text = actionText(record, device.ime().imeOn(), engine.options);
    line += " " + marked(text, static_cast<int32_t>(n) == engine.toggleIndex);
  }
  return line;
}

std::string charListLine(const SimDevice& device) {
  const EngineState& engine = device.engine();
  const uint8_t* list = engine.activeCharList;
  if (list == nullptr || charListCount(list) < 2) return "後変換 (*): -";
  std::string line = "後変換 (*):";
  for (int i = 0; i < charListCount(list); ++i) {
    const std::string text = charEntryText(charEntryModifier(list, i), charEntryVk(list, i),
                                           device.ime().imeOn(), engine.options);
    line += " " + marked(text, i == engine.charIndex);
  }
  return line;
}

std::string firstStrokeLine(const SimDevice& device, const KeymapImage* image) {
  const EngineState& engine = device.engine();
  if (engine.firstStroke == 0 || image == nullptr) return "一打目: -";
  const int column = columnOf(engine.firstStroke);
  const KeyRecord key = readKeyRecord(*image, column);
  std::string line = "一打目: キー" + keypadKeyName(column % kKeypadColumns) + "  二打目で";
  for (uint32_t n = 0; n < key.actionCount && n < kKeypadColumns; ++n) {
    const uint8_t* record = keyActionRecord(*image, key, n);
    if (record == nullptr) break;
    line += " " + keypadKeyName(n) + ":" + actionText(record, device.ime().imeOn(), engine.options);
  }
  return line;
}

}  // namespace

std::string describeInputState(const SimDevice& device) {
  const EngineState& engine = device.engine();
  const DeviceIme& ime = device.ime();
  const KeymapImage* image = activeKeymapImage(engine);
  std::string text = "入力方式: " + inputModeName(engine.options) + "  " + keymapName(engine) +
                     "  " + (ime.imeOn() ? "IME ON" : "IME OFF") + " (" + ime.modeName() + ")\n";
  text += "オプション: " + optionsLine(engine) + "\n";
  text += toggleLine(device, image) + "\n";
  text += charListLine(device) + "\n";
  text += firstStrokeLine(device, image) + "\n";
  return text;
}

std::string liveScreen(const SimDevice& device, const std::string& keymapPath) {
  std::string screen = "padquiltkana-sim live   keymap: " + keymapPath + "\n";
  screen +=
      "keys: 0-9 * # the keypad, right arrow confirms, Backspace is the clear key, Tab switches\n"
      "      the IME; Esc, letters, arrows and the other keys go to the engine as they are;\n"
      "      Ctrl-D quits\n\n";
  screen += "テキスト: " + device.ime().committedText() + device.ime().composition() + "\n";
  screen += "変換中:   " + device.ime().composition() + "\n\n";
  screen += describeInputState(device);
  return screen;
}
