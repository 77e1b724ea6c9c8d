#include "sim/views/live_screen.h"

#include "engine/key_names.h"
#include "engine/option_table.h"
#include "sim/views/action_text.h"
#include "sim/views/option_labels.h"

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

CandidateRow toggleRow(const SimDevice& device, const KeymapImage* image) {
  const EngineState& engine = device.engine();
  CandidateRow row;
  if (engine.toggleKey == 0 || image == nullptr) return row;
  row.column = columnOf(engine.toggleKey) % kKeypadColumns;
  row.texts = keyActionTexts(device, *image, columnOf(engine.toggleKey), UINT32_MAX);
  row.current = engine.toggleIndex;
  return row;
}

CandidateRow formsRow(const SimDevice& device) {
  const EngineState& engine = device.engine();
  CandidateRow row;
  const uint8_t* list = engine.activeCharList;
  if (list == nullptr || charListCount(list) < 2) return row;
  for (int i = 0; i < charListCount(list); ++i) {
    row.texts.push_back(charEntryText(charEntryModifier(list, i), charEntryVk(list, i),
                                      device.ime().imeOn(), engine.options));
  }
  row.current = engine.charIndex;
  return row;
}

CandidateRow firstStrokeRow(const SimDevice& device, const KeymapImage* image) {
  const EngineState& engine = device.engine();
  CandidateRow row;
  if (engine.firstStroke == 0 || image == nullptr) return row;
  row.column = columnOf(engine.firstStroke) % kKeypadColumns;
  row.texts = keyActionTexts(device, *image, columnOf(engine.firstStroke), kKeypadColumns);
  return row;
}

std::string candidates(const CandidateRow& row) {
  std::string line;
  for (size_t n = 0; n < row.texts.size(); ++n) {
    line += " " + marked(row.texts[n], static_cast<int>(n) == row.current);
  }
  return line;
}

}  // namespace

std::vector<std::string> keyActionTexts(const SimDevice& device, const KeymapImage& image,
                                        int column, uint32_t most) {
  std::vector<std::string> texts;
  const KeyRecord key = readKeyRecord(image, column);
  for (uint32_t n = 0; n < key.actionCount && n < most; ++n) {
    const uint8_t* record = keyActionRecord(image, key, n);
    if (record == nullptr) break;
    texts.push_back(actionText(record, device.ime().imeOn(), device.engine().options));
  }
  return texts;
}

InputStateView inputStateView(const SimDevice& device) {
  const EngineState& engine = device.engine();
  const DeviceIme& ime = device.ime();
  const KeymapImage* image = activeKeymapImage(engine);
  InputStateView view;
  view.mode = inputModeName(engine.options);
  view.keymap = keymapName(engine);
  view.ime = ime.imeOn() ? "IME ON" : "IME OFF";
  view.imeMode = ime.modeName();
  view.options = optionsLine(engine);
  view.toggle = toggleRow(device, image);
  view.forms = formsRow(device);
  view.firstStroke = firstStrokeRow(device, image);
  return view;
}

std::string describeInputState(const SimDevice& device) {
  const InputStateView view = inputStateView(device);
  std::string text =
      "入力方式: " + view.mode + "  " + view.keymap + "  " + view.ime + " (" + view.imeMode + ")\n";
  text += "オプション: " + view.options + "\n";
  text += view.toggle.column < 0 ? std::string("トグル中: -\n")
                                 : "トグル中: キー" + keypadKeyName(view.toggle.column) + " " +
                                       candidates(view.toggle) + "\n";
  text += view.forms.texts.empty() ? std::string("後変換 (*): -\n")
                                   : "後変換 (*):" + candidates(view.forms) + "\n";
  if (view.firstStroke.column < 0) {
    text += "一打目: -\n";
  } else {
    text += "一打目: キー" + keypadKeyName(view.firstStroke.column) + "  二打目で";
    for (size_t n = 0; n < view.firstStroke.texts.size(); ++n) {
      text += " " + keypadKeyName(static_cast<int>(n)) + ":" + view.firstStroke.texts[n];
    }
    text += "\n";
  }
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
