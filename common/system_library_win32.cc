#include "system_library_win32.h"

#include <string>

#include "error.h"

void SearchSystemFolderOnly() {
  // Looked up rather than imported, so that the programs still start where
  // kernel32 lacks it (Windows 7 without its update).
  FARPROC found = GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories");
  if (!found) return;
  using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
  auto restrict_search =
      reinterpret_cast<SetDefaultDllDirectoriesFunction>(reinterpret_cast<void (*)()>(found));
  restrict_search(LOAD_LIBRARY_SEARCH_SYSTEM32);
}

FARPROC SystemProcedure(const wchar_t* library, const char* name) {
  wchar_t folder[MAX_PATH];
  UINT length = GetSystemDirectoryW(folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) throw RunTimeError(errors::kFileNotFound);
  HMODULE module = LoadLibraryW((std::wstring(folder, length) + L"\\" + library).c_str());
  if (!module) throw RunTimeError(errors::kFileNotFound);
  FARPROC procedure = GetProcAddress(module, name);
  if (!procedure) throw RunTimeError(errors::kDllFunctionNotFound);
  return procedure;
}
