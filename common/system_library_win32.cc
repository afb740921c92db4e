#include "system_library_win32.h"

#include <string>

#include "error.h"
#include "platform_win32.h"

namespace {

bool RunsFromTheWindowsFolder() {
  wchar_t windows[MAX_PATH];
  UINT length = GetSystemWindowsDirectoryW(windows, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return false;
  std::wstring folder;
  try {
    folder = Win32Platform().ProgramFolder();
  } catch (const RunTimeError&) {
    return false;  // a folder it cannot tell gets the system folder only
  }
  return CompareStringOrdinal(folder.c_str(), static_cast<int>(folder.size()), windows,
                              static_cast<int>(length), TRUE) == CSTR_EQUAL;
}

}  // namespace

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

void SearchStandardFoldersInTheWindowsFolder() {
  if (!RunsFromTheWindowsFolder()) return SearchSystemFolderOnly();
  SetDllDirectoryW(L"");
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
