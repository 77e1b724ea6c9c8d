// Building a keymap table by pressing keys on fresh simulated devices.

#include "engine/engine_state.h"
#include "engine/key_event.h"
#include "engine/key_names.h"
#include "sim/device/sim_device.h"
#include "sim/views/keymap_table.h"

namespace {

// Post-conversion stops after this many forms even if it never comes back.
constexpr int kMostForms = 256;

struct Run {
  SimSettings settings;
  int slot = 0;
};

// What one key press did, watched from outside the engine.
struct Press {
  std::vector<SimEvent> events;
  // The text before each injected event reached the device.
  std::vector<std::string> textBefore;
  std::string textAfter;
  int32_t slotBefore = 0;
  int32_t slotAfter = 0;
  bool imeBefore = false;
  bool imeAfter = false;
  std::vector<std::pair<uint32_t, uintptr_t>> posted;
};

void start(SimDevice& device, const Run& run) {
  device.start(run.settings);
  // As command 4 would; kana toggle mode then keeps slot 4 or 5 by the IME,
  // which is on for slot 4 and off for slot 5.
  device.selectSlot(run.slot);
}

Press press(SimDevice& device, int column) {
  Press result;
  result.slotBefore = device.engine().activeKeymap;
  result.imeBefore = device.ime().imeOn();
  const size_t postedBefore = device.postedCommands().size();
  device.onInjected = [&result, &device](const SimEvent& event) {
    result.events.push_back(event);
    result.textBefore.push_back(device.text());
  };
  device.pressKey(kKeypadVk[column]);
  device.onInjected = nullptr;
  result.textAfter = device.text();
  result.slotAfter = device.engine().activeKeymap;
  result.imeAfter = device.ime().imeOn();
  const auto& posted = device.postedCommands();
  result.posted.assign(posted.begin() + static_cast<std::ptrdiff_t>(postedBefore), posted.end());
  return result;
}

bool beginsWithBackspace(const Press& p) {
  return !p.events.empty() && p.events[0].down && p.events[0].vk == kVkBack;
}

// The text the press left before its own typing: after the back-space it
// began with, if any.
std::string baseline(const Press& p, const std::string& textBefore) {
  if (!beginsWithBackspace(p)) return textBefore;
  return p.textBefore.size() > 1 ? p.textBefore[1] : p.textAfter;
}

std::string typedText(const std::string& base, const std::string& after) {
  if (after.compare(0, base.size(), base) == 0) return after.substr(base.size());
  return after;
}

std::string visible(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == ' ') {
      out += "[空白]";
    } else if (text.compare(i, 3, "\xE3\x80\x80") == 0) {  // full-width space
      out += "[空白]";
      i += 2;
    } else if (text[i] == '\n') {
      out += "[Enter]";
    } else if (text[i] == '\t') {
      out += "[Tab]";
    } else {
      out += text[i];
    }
  }
  return out;
}

std::string postedName(uint32_t command, uintptr_t param) {
  if (command == kCommandRotateScreen) {
    return param < 4 ? "[画面" + std::to_string(param * 90) + "度]" : std::string("[画面回転]");
  }
  if (command == kCommandRunProgram && param != 0) {
    const char* program = reinterpret_cast<const char*>(param);
    return "[実行 \"" + std::string(program) + "\" \"" + execArgumentsAfter(program) + "\"]";
  }
  return "[" + std::to_string(command) + "]";
}

// Everything but the text: window commands, slot and IME changes, the keys
// sent (after the back-space a toggle press begins with), else the command
// of the action, else "--".
std::string effects(const Press& p, const uint8_t* record) {
  std::string out;
  for (const auto& [command, param] : p.posted) out += postedName(command, param);
  if (p.slotAfter != p.slotBefore) out += "[keymap" + std::to_string(p.slotAfter) + "]";
  if (p.imeAfter != p.imeBefore) out += p.imeAfter ? "[IMEオン]" : "[IMEオフ]";
  if (!out.empty()) return out;
  std::string keys;
  for (size_t i = beginsWithBackspace(p) ? 2 : 0; i < p.events.size(); ++i) {
    if (!p.events[i].down) continue;
    keys += (keys.empty() ? "" : "+") + virtualKeyLabel(p.events[i].vk);
  }
  if (!keys.empty()) return "[" + keys + "]";
  if (record != nullptr && actionKind(record) == kActionCommand) {
    return "[コマンド" + std::to_string(commandNumber(record)) + "]";
  }
  return "--";
}

std::string cellText(const Press& p, const std::string& textBefore, const uint8_t* record) {
  const std::string typed = typedText(baseline(p, textBefore), p.textAfter);
  return typed.empty() ? effects(p, record) : visible(typed);
}

// The forms the post-conversion key steps through after `cell` was typed,
// until it comes back to the cell's own text.
std::vector<std::string> postForms(SimDevice& device, int postColumn, const std::string& cell) {
  std::vector<std::string> forms;
  if (postColumn < 0) return forms;
  for (int step = 0; step < kMostForms; ++step) {
    const std::string before = device.text();
    const Press p = press(device, postColumn);
    if (!beginsWithBackspace(p)) break;
    const std::string form = visible(typedText(baseline(p, before), p.textAfter));
    if (form == cell) break;
    forms.push_back(form);
  }
  return forms;
}

const uint8_t* actionRecord(const SimDevice& device, int slot, int column, int action) {
  const KeymapImage& image = device.engine().keymaps[slot];
  return keyActionRecord(image, readKeyRecord(image, column), static_cast<uint32_t>(action));
}

int findPostColumn(const KeymapImage& image) {
  for (uint16_t type :
       {kKeyTypeNextEntry, kKeyTypeNextOrPair, kKeyTypePreviousEntry, kKeyTypePreviousOrPair}) {
    for (int column = 0; column < kKeypadColumns; ++column) {
      if (readKeyRecord(image, column).type == type) return column;
    }
  }
  return -1;
}

// On a fresh device: `leading` presses of `column`, then a press of `last`,
// which runs action `action` of `column`'s key; what that press gave.
TableCell pressedCell(const Run& run, int postColumn, int column, int leading, int last,
                      int action) {
  SimDevice device;
  start(device, run);
  for (int i = 0; i < leading; ++i) press(device, column);
  const std::string before = device.text();
  const Press p = press(device, last);
  TableCell cell;
  cell.text = cellText(p, before, actionRecord(device, run.slot, column, action));
  cell.forms = postForms(device, postColumn, cell.text);
  return cell;
}

}  // namespace

uint32_t tableOptions(int slot, uint32_t options) {
  uint32_t mode = kOptionTwoTouch;
  if (slot == kSlotNicoTouch || slot == partnerSlot(kSlotNicoTouch)) {
    mode = kOptionTwoTouch | kOptionNicoTouch;
  }
  if (slot == kSlotKana || slot == kSlotAlphanumeric) mode = kOptionKanaToggle;
  const uint32_t modeBits = kOptionKanaToggle | kOptionTwoTouch | kOptionNicoTouch;
  return (options & ~modeBits) | mode;
}

bool tableScreenRotated(int slot) {
  return slot == kSlotRotated || slot == partnerSlot(kSlotRotated);
}

KeymapTable buildKeymapTable(const std::string& keymapPath, int slot, uint32_t options,
                             SimLayout layout) {
  SimSettings keymap;
  keymap.keymapPath = keymapPath;
  keymap.layout = layout;
  return buildKeymapTable(keymap, slot, options);
}

KeymapTable buildKeymapTable(const SimSettings& keymap, int slot, uint32_t options) {
  KeymapTable table;
  table.slot = slot;
  Run run;
  run.settings.keymapPath = keymap.keymapPath;
  run.settings.keymapText = keymap.keymapText;
  run.settings.layout = table.layout = keymap.layout;
  run.slot = slot;
  run.settings.options = table.options = tableOptions(slot, options);
  run.settings.screenRotated = table.screenRotated = tableScreenRotated(slot);
  run.settings.imeOn = table.imeOn = slot != kSlotAlphanumeric;

  SimDevice probe;
  start(probe, run);
  if (slot < 0 || slot >= kKeymapSlots) return table;
  const KeymapImage& image = probe.engine().keymaps[slot];
  if (image.bytes == nullptr) return table;
  table.empty = false;
  table.postColumn = findPostColumn(image);
  for (int column = 0; column < kKeypadColumns; ++column) {
    const KeyRecord record = readKeyRecord(image, column);
    TableKey& key = table.keys[column];
    key.type = record.type;
    if (hasPairRow(record.type)) {
      // Every second key after this first key.
      for (int second = 0; second < kKeypadColumns; ++second) {
        key.cells.push_back(pressedCell(run, table.postColumn, column, 1, second, second));
      }
    } else if (record.type >= kKeyTypeToggle && record.type <= kKeyTypePreviousEntry) {
      // What pressing the key alone gives, press after press.
      const int shown =
          record.actionCount < kMostTablePresses ? record.actionCount : kMostTablePresses;
      for (int n = 0; n < shown; ++n) {
        key.cells.push_back(pressedCell(run, table.postColumn, column, n, column, n));
      }
      key.notShown = record.actionCount - static_cast<uint32_t>(shown);
    }
  }
  return table;
}
