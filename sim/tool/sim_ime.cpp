#include "sim/tool/sim_ime.h"

#include "sim/device/ime_emulation.h"
#include "sim/mozc/mozc_ime.h"

std::unique_ptr<DeviceIme> startSimIme(SimImeEngine engine, MozcHelper& helper,
                                       std::string& error) {
  if (engine == SimImeEngine::kEmulation) return std::make_unique<ImeEmulation>();
  if (!helper.running() && !helper.start(error)) return nullptr;
  auto mozc = std::make_unique<MozcIme>(helper);
  error = mozc->failure();
  if (!error.empty()) return nullptr;
  return mozc;
}
