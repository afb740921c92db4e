// Put beside a program under the name of a DLL that Windows loads, for the
// end-to-end tests of the DLL search: once loaded, it leaves NAME.loaded
// beside itself and ends the program at once with exit code 66, so that a
// test sees it without waiting for the program to fail.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
  if (reason != DLL_PROCESS_ATTACH) return TRUE;
  wchar_t path[MAX_PATH + 8];
  DWORD length = GetModuleFileNameW(self, path, MAX_PATH);
  lstrcpyW(path + length, L".loaded");
  CloseHandle(CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  TerminateProcess(GetCurrentProcess(), 66);
  return FALSE;
}
