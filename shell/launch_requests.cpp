#include "shell/launch_requests.h"

#include <windows.h>

namespace {

// A few requests may wait at once (several exec keys pressed before the
// message loop turns); the oldest is dropped when more arrive.
constexpr uint32_t kPendingRequests = 8;

struct PendingRequest {
  uintptr_t token = 0;
  LaunchRequest request;
};

// The hook thread issues requests and the UI thread takes them: the table
// has a lock of its own.
PendingRequest pending[kPendingRequests];
uintptr_t lastToken = 0;

class TableLock {
 public:
  TableLock() { EnterCriticalSection(&section()); }
  ~TableLock() { LeaveCriticalSection(&section()); }
  TableLock(const TableLock&) = delete;
  TableLock& operator=(const TableLock&) = delete;

 private:
  static CRITICAL_SECTION& section() {
    static CRITICAL_SECTION* made = [] {
      auto* created = new CRITICAL_SECTION;
      InitializeCriticalSection(created);
      return created;
    }();
    return *made;
  }
};

// One OEM byte gives at least half a UTF-16 unit, so a string longer than
// this many bytes can never fit; looking no further also keeps the scan
// short.
constexpr int kLongestConvertibleBytes = 2 * (kLaunchTextUnits - 1);

// Length of the NUL-terminated string at `text`, or -1 when it is longer than
// could ever fit.
int boundedLength(const char* text) {
  for (int i = 0; i <= kLongestConvertibleBytes; ++i) {
    if (text[i] == 0) return i;
  }
  return -1;
}

// Converts `length` bytes plus their NUL; false when the result with its NUL
// needs more than kLaunchTextUnits units.
bool convertOem(const char* text, int length, wchar_t (&out)[kLaunchTextUnits]) {
  const int units =
      MultiByteToWideChar(CP_OEMCP, MB_PRECOMPOSED, text, length + 1, out, kLaunchTextUnits);
  if (units <= 0) {
    out[0] = 0;
    return false;
  }
  out[kLaunchTextUnits - 1] = 0;
  return true;
}

uintptr_t nextToken() {
  if (lastToken == 0) {
    // Start from an unpredictable point so that stray posts hardly ever
    // match; tokens are never 0.
    lastToken =
        (static_cast<uintptr_t>(GetTickCount()) << 8) ^ reinterpret_cast<uintptr_t>(&pending);
  }
  ++lastToken;
  if (lastToken == 0) ++lastToken;
  return lastToken;
}

}  // namespace

uintptr_t issueLaunchRequest(const char* execStrings) {
  if (execStrings == nullptr) return 0;
  const int fileLength = boundedLength(execStrings);
  if (fileLength < 0) return 0;
  const char* parameters = execStrings + fileLength + 1;
  const int parametersLength = boundedLength(parameters);
  if (parametersLength < 0) return 0;

  LaunchRequest request;
  if (!convertOem(execStrings, fileLength, request.file)) return 0;
  if (!convertOem(parameters, parametersLength, request.parameters)) return 0;

  TableLock lock;
  const uintptr_t token = nextToken();
  PendingRequest& slot = pending[token % kPendingRequests];
  slot.token = token;
  slot.request = request;
  return token;
}

bool takeLaunchRequest(uintptr_t token, LaunchRequest& request) {
  if (token == 0) return false;
  TableLock lock;
  PendingRequest& slot = pending[token % kPendingRequests];
  if (slot.token != token) return false;
  request = slot.request;
  slot = PendingRequest();
  return true;
}

void clearLaunchRequests() {
  TableLock lock;
  for (PendingRequest& slot : pending) slot = PendingRequest();
}
