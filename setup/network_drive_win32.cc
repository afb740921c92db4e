#include "setup/network_drive_win32.h"

#include <windows.h>

#include <memory>
#include <string>
#include <type_traits>

#include "common/error.h"

namespace {

constexpr int32_t kFunctionNotFound = 453;

using GetConnectionFunction = DWORD(WINAPI*)(LPCSTR, LPSTR, LPDWORD);

struct LibraryDeleter {
  void operator()(HMODULE library) const { FreeLibrary(library); }
};
using Library = std::unique_ptr<std::remove_pointer_t<HMODULE>, LibraryDeleter>;

// Only from the system folder: setup runs from a share that anyone may have
// put an mpr.dll into.
Library LoadSystemLibrary(const wchar_t* name) {
  std::wstring path(MAX_PATH, L'\0');
  UINT length = GetSystemDirectoryW(path.data(), MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return nullptr;
  path.resize(length);
  return Library(LoadLibraryW((path + L"\\" + name).c_str()));
}

}  // namespace

int32_t GetConnectionFromMpr(const char* local_name, char* remote_name, uint32_t* length) {
  Library mpr = LoadSystemLibrary(L"mpr.dll");
  if (!mpr) throw RunTimeError(errors::kFileNotFound);
  FARPROC found = GetProcAddress(mpr.get(), "WNetGetConnectionA");
  if (!found) throw RunTimeError(kFunctionNotFound);
  auto get_connection = reinterpret_cast<GetConnectionFunction>(reinterpret_cast<void*>(found));
  DWORD size = *length;
  DWORD status = get_connection(local_name, remote_name, &size);
  *length = size;
  return static_cast<int32_t>(status);
}
