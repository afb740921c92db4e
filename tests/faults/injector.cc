// fault_injector.exe PROGRAM [ARGUMENTS]: runs the program with
// fault_injection.dll, or the library the environment variable
// INJECTED_LIBRARY names (from this program's folder either way), loaded
// before any of the program's own code, and exits with the program's exit
// code. The program's command line is the rest of this one, as it stands.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

std::wstring RestOfCommandLine() {
  const wchar_t* line = GetCommandLineW();
  bool quoted = false;
  for (; *line && (quoted || (*line != L' ' && *line != L'\t')); ++line) {
    if (*line == L'"') quoted = !quoted;
  }
  while (*line == L' ' || *line == L'\t') ++line;
  return line;
}

std::wstring LibraryBesideThisProgram() {
  wchar_t path[MAX_PATH];
  DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path, n);
  wchar_t name[MAX_PATH];
  DWORD length = GetEnvironmentVariableW(L"INJECTED_LIBRARY", name, MAX_PATH);
  return folder.substr(0, folder.find_last_of(L'\\') + 1) +
         (length > 0 && length < MAX_PATH ? std::wstring(name, length) : L"fault_injection.dll");
}

int Fail(const char* what) {
  std::fprintf(stderr, "fault_injector: %s failed (%lu)\n", what, GetLastError());
  return 199;
}

// Loads the library in the suspended process through a thread of its own.
bool Load(HANDLE process, const std::wstring& library) {
  size_t size = (library.size() + 1) * sizeof(wchar_t);
  void* remote = VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  if (!remote || !WriteProcessMemory(process, remote, library.c_str(), size, nullptr)) return false;
  auto load = reinterpret_cast<LPTHREAD_START_ROUTINE>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "LoadLibraryW")));
  HANDLE thread = CreateRemoteThread(process, nullptr, 0, load, remote, 0, nullptr);
  if (!thread) return false;
  WaitForSingleObject(thread, INFINITE);
  DWORD loaded = 0;
  GetExitCodeThread(thread, &loaded);
  CloseHandle(thread);
  return loaded != 0;
}

}  // namespace

int wmain() {
  std::wstring command_line = RestOfCommandLine();
  if (command_line.empty()) {
    std::fprintf(stderr, "usage: fault_injector PROGRAM [ARGUMENTS]\n");
    return 198;
  }
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION child{};
  if (!CreateProcessW(nullptr, command_line.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED,
                      nullptr, nullptr, &startup, &child)) {
    return Fail("CreateProcessW");
  }
  if (!Load(child.hProcess, LibraryBesideThisProgram())) {
    TerminateProcess(child.hProcess, 197);
    return Fail("loading the library");
  }
  ResumeThread(child.hThread);
  WaitForSingleObject(child.hProcess, INFINITE);
  DWORD code = 0;
  GetExitCodeProcess(child.hProcess, &code);
  CloseHandle(child.hThread);
  CloseHandle(child.hProcess);
  return static_cast<int>(code);
}
