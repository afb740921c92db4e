// For tests: one failure of each way a server share fails, as the run-time
// error number the platform raises for it. The Windows build takes each number
// from the real mapping of a typical Win32 code; natively the numbers stand in
// for what that mapping gives.
#pragma once

#include <cstdint>
#include <vector>

#ifdef _WIN32
#include <windows.h>

#include "common/error_number_win32.h"
#endif

struct ShareFailure {
  const char* what;
  int32_t number;
};

inline std::vector<ShareFailure> ShareFailures() {
#ifdef _WIN32
  constexpr unsigned long kGuestLogonBlocked = 1272;
  return {
      {"sign-in refused", ErrorNumberFromWin32(ERROR_LOGON_FAILURE)},
      {"guest logon blocked", ErrorNumberFromWin32(kGuestLogonBlocked)},
      {"too many connections", ErrorNumberFromWin32(ERROR_REQ_NOT_ACCEP)},
      {"time-out", ErrorNumberFromWin32(ERROR_SEM_TIMEOUT)},
      {"network name deleted", ErrorNumberFromWin32(ERROR_NETNAME_DELETED)},
      {"held by another program", ErrorNumberFromWin32(ERROR_SHARING_VIOLATION)},
      {"network write fault", ErrorNumberFromWin32(ERROR_NET_WRITE_FAULT)},
  };
#else
  return {
      {"sign-in refused", 75},      {"guest logon blocked", 75},     {"too many connections", 68},
      {"time-out", 68},             {"network name deleted", 68},    {"held by another program", 70},
      {"network write fault", 57},
  };
#endif
}
