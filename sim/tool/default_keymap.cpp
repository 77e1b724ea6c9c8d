#include "sim/tool/default_keymap.h"

#include <sys/stat.h>
#include <unistd.h>

namespace {

bool isFile(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

}  // namespace

std::string defaultKeymapPath() {
  const std::string local = "data/defaultkeymap.txt";
  if (isFile(local)) return local;
  char self[4096];
  const ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
  if (length > 0) {
    std::string beside(self, static_cast<size_t>(length));
    beside = beside.substr(0, beside.rfind('/') + 1) + "defaultkeymap.txt";
    if (isFile(beside)) return beside;
  }
#ifdef PQK_SOURCE_KEYMAP
  if (isFile(PQK_SOURCE_KEYMAP)) return PQK_SOURCE_KEYMAP;
#endif
  return local;
}
