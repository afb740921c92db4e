#include "setup/network_drive_win32.h"

#include <windows.h>

#include "common/system_library_win32.h"

int32_t GetConnectionFromMpr(const char* local_name, char* remote_name, uint32_t* length) {
  using GetConnection = DWORD WINAPI(LPCSTR, LPSTR, LPDWORD);
  auto* get_connection = SystemFunction<GetConnection>(L"mpr.dll", "WNetGetConnectionA");
  DWORD size = *length;
  DWORD status = get_connection(local_name, remote_name, &size);
  *length = size;
  return static_cast<int32_t>(status);
}
