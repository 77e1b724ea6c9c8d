#include "tests/shell/id_names.h"

#include <windows.h>

#include "engine/option_table.h"
#include "engine/platform.h"
#include "shell/resource_ids.h"

namespace {

struct IdName {
  uintptr_t id;
  const char* name;
};

// Every id of shell/resource_ids.h, by the build (resource_id_names.h), then
// the dialog buttons and the window commands.
constexpr IdName kIdNames[] = {
#include "resource_id_names.h"
    {IDOK, "IDOK"},
    {IDCANCEL, "IDCANCEL"},
    {kCommandRunProgram, "kCommandRunProgram"},
    {kCommandRotateScreen, "kCommandRotateScreen"},
    {kCommandQuit, "kCommandQuit"},
};

}  // namespace

std::string idName(uintptr_t id) {
  std::string text = std::to_string(id);
  const OptionRow* option = id <= INT32_MAX ? optionRowOfControl(static_cast<int>(id)) : nullptr;
  if (option != nullptr) text += std::string(" ") + option->label;
  for (const IdName& entry : kIdNames) {
    if (entry.id == id) return std::string(entry.name) + " (" + text + ")";
  }
  return text;
}
