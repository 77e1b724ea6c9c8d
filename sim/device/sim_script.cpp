#include "sim/device/sim_script.h"

#include <cstdlib>

#include "engine/key_event.h"

namespace {

bool parseNumber(const std::string& text, int base, uint32_t limit, uint32_t& value) {
  if (text.empty()) return false;
  char* end = nullptr;
  const unsigned long long parsed = std::strtoull(text.c_str(), &end, base);
  if (*end != '\0' || text[0] == '-' || text[0] == '+' || parsed > limit) return false;
  value = static_cast<uint32_t>(parsed);
  return true;
}

bool parseToken(const std::string& token, std::vector<ScriptStep>& steps) {
  if (token == "ime:on") {
    steps.push_back({ScriptStepKind::kImeOn, 0});
    return true;
  }
  if (token == "ime:off") {
    steps.push_back({ScriptStepKind::kImeOff, 0});
    return true;
  }
  uint32_t value = 0;
  if (token.rfind("vk:", 0) == 0) {
    if (token.size() > 5 || !parseNumber(token.substr(3), 16, 0xFF, value)) return false;
    steps.push_back({ScriptStepKind::kPress, value});
    return true;
  }
  if (token[0] == '+') {
    if (!parseNumber(token.substr(1), 10, 0x7FFFFFFF, value)) return false;
    steps.push_back({ScriptStepKind::kWait, value});
    return true;
  }
  std::vector<ScriptStep> presses;
  for (char c : token) {
    uint8_t vk = keypadVirtualKey(c);
    if (c == '>') vk = kVkRight;
    if (c == 'C') vk = kVkBack;
    if (vk == 0) return false;
    presses.push_back({ScriptStepKind::kPress, vk});
  }
  steps.insert(steps.end(), presses.begin(), presses.end());
  return true;
}

}  // namespace

uint8_t keypadVirtualKey(char key) {
  for (int column = 0; column < kKeypadColumns; ++column) {
    if (kKeypadKeys[column] == key) return kKeypadVk[column];
  }
  return 0;
}

bool parseScript(const std::vector<std::string>& tokens, std::vector<ScriptStep>& steps,
                 std::string& error) {
  steps.clear();
  for (const std::string& token : tokens) {
    if (token.empty() || !parseToken(token, steps)) {
      error = "bad script token '" + token + "'";
      return false;
    }
  }
  return true;
}

void runScript(SimDevice& device, const std::vector<ScriptStep>& steps) {
  for (const ScriptStep& step : steps) {
    switch (step.kind) {
      case ScriptStepKind::kPress:
        device.pressKey(static_cast<uint8_t>(step.value));
        break;
      case ScriptStepKind::kWait:
        device.wait(step.value);
        break;
      case ScriptStepKind::kImeOn:
        device.switchIme(true);
        break;
      case ScriptStepKind::kImeOff:
        device.switchIme(false);
        break;
    }
  }
}
