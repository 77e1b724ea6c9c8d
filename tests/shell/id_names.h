// Failure messages name the program's ids: resource, menu and control ids by
// their names in shell/resource_ids.h (an option's control with its label
// from the options table), window commands by theirs, anything else as the
// number it is.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>

// "IDC_AUTO_ADVANCE (1026 自動送り)", "kCommandQuit (30002)", "1234".
std::string idName(uintptr_t id);

// An id that gtest prints by its name: EXPECT_EQ(NamedId(message.wParam),
// NamedId(kCommandQuit)).
struct NamedId {
  explicit NamedId(uintptr_t id) : value(id) {}
  uintptr_t value;
};

inline bool operator==(NamedId a, NamedId b) {
  return a.value == b.value;
}
inline std::ostream& operator<<(std::ostream& out, NamedId id) {
  return out << idName(id.value);
}
