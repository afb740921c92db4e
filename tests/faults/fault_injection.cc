// Loaded into a program before it runs (see injector.cc), this makes the
// program's own calls of the Win32 file, process and library functions fail as
// a real Windows network or a locked-down Windows would, and its questions of
// its account and session answer as under a deployment tool's service: it
// patches the import table of the program's exe, so the C run time and the
// system's DLLs keep the real functions.
//
// Chosen through the environment:
//   FAULT_PATH   part of a path, compared without regard to case; the calls on
//                a path that contains it fail, and the reads, writes and
//                lengths of the files opened on such a path
//   FAULT_CODE   the Win32 code they fail with (decimal or 0x hex)
//   FAULT_CALLS  the functions that fail, separated by commas; all by default
//   FAULT_AFTER  FUNCTION:N: nothing fails until N calls of FUNCTION on such a
//                path have succeeded; from then on every chosen call fails
//   FAULT_LOG    the file to which each injected failure is added as a line
//                "FUNCTION CODE PATH"
//   FAULT_ACCESS_LIST  1: ReplaceFileW fails as where the user may not carry the
//                replaced file's access list over (no WRITE_DAC), only when called
//                without REPLACEFILE_IGNORE_MERGE_ERRORS or _ACL_ERRORS; with
//                either, Windows swaps the files and drops the list, and the real
//                call here swaps them too
//   FAULT_USER   a SID, such as S-1-5-18: the account that the program's
//                GetTokenInformation(TokenUser) answers it runs as
//   FAULT_SESSION  the session that its ProcessIdToSessionId answers
// A failing WriteFile of more than one byte first writes half of them, as a
// write cut off by a dropped connection does.
#include <windows.h>
// sddl.h needs the types windows.h declares.
#include <sddl.h>

#include <algorithm>
#include <cwctype>
#include <string>
#include <vector>

#include "import_hooks.h"

namespace {

struct Settings {
  std::wstring path;  // lower case
  DWORD code = 0;
  std::wstring calls;  // ",CreateFileW,ReadFile," or empty for all
  std::wstring trigger;
  long trigger_after = 0;
  std::wstring log;
  bool access_list = false;
  std::wstring user;     // a SID, or empty for the real one
  std::wstring session;  // a number, or empty for the real one
};

Settings settings;
long triggering_calls = 0;
std::vector<HANDLE> chosen_handles;  // opened on a chosen path

decltype(&CreateFileW) real_create_file;
decltype(&ReadFile) real_read_file;
decltype(&WriteFile) real_write_file;
decltype(&GetFileSizeEx) real_get_file_size_ex;
decltype(&CopyFileW) real_copy_file;
decltype(&DeleteFileW) real_delete_file;
decltype(&ReplaceFileW) real_replace_file;
decltype(&CreateProcessW) real_create_process;
decltype(&LoadLibraryW) real_load_library;
decltype(&CloseHandle) real_close_handle;
decltype(&GetTokenInformation) real_get_token_information;
decltype(&ProcessIdToSessionId) real_process_id_to_session_id;

std::wstring Environment(const wchar_t* name) {
  wchar_t value[1024];
  DWORD n = GetEnvironmentVariableW(name, value, 1024);
  return n > 0 && n < 1024 ? std::wstring(value, n) : std::wstring();
}

std::wstring Lower(std::wstring text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](wchar_t c) { return static_cast<wchar_t>(std::towlower(c)); });
  return text;
}

bool Chosen(const wchar_t* path) {
  return path && !settings.path.empty() && Lower(path).find(settings.path) != std::wstring::npos;
}

bool Tracked(HANDLE handle) {
  return std::find(chosen_handles.begin(), chosen_handles.end(), handle) != chosen_handles.end();
}

void Log(const wchar_t* function, const wchar_t* path) {
  if (settings.log.empty()) return;
  std::wstring line = std::wstring(function) + L" " + std::to_wstring(settings.code) + L" " +
                      (path ? path : L"") + L"\n";
  int size = WideCharToMultiByte(CP_UTF8, 0, line.c_str(), static_cast<int>(line.size()), nullptr,
                                 0, nullptr, nullptr);
  std::string bytes(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, line.c_str(), static_cast<int>(line.size()), bytes.data(), size,
                      nullptr, nullptr);
  HANDLE file = real_create_file(settings.log.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr,
                                 OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  real_write_file(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  real_close_handle(file);
}

// Whether this call on a chosen path fails. A call that does not fail may be
// one of those that set the failures off.
bool Fails(const wchar_t* function, const wchar_t* path) {
  bool armed = settings.trigger.empty() || triggering_calls >= settings.trigger_after;
  bool chosen_call =
      settings.calls.empty() || settings.calls.find(L"," + std::wstring(function) + L",") !=
                                    std::wstring::npos;
  if (armed && chosen_call) {
    Log(function, path);
    SetLastError(settings.code);
    return true;
  }
  if (settings.trigger == function) ++triggering_calls;
  return false;
}

HANDLE WINAPI FailingCreateFile(LPCWSTR path, DWORD access, DWORD share,
                                LPSECURITY_ATTRIBUTES security, DWORD disposition, DWORD flags,
                                HANDLE model) {
  if (!Chosen(path)) {
    return real_create_file(path, access, share, security, disposition, flags, model);
  }
  if (Fails(L"CreateFileW", path)) return INVALID_HANDLE_VALUE;
  HANDLE handle = real_create_file(path, access, share, security, disposition, flags, model);
  if (handle != INVALID_HANDLE_VALUE) chosen_handles.push_back(handle);
  return handle;
}

BOOL WINAPI FailingReadFile(HANDLE file, LPVOID buffer, DWORD count, LPDWORD read,
                            LPOVERLAPPED at) {
  if (Tracked(file) && Fails(L"ReadFile", nullptr)) return FALSE;
  return real_read_file(file, buffer, count, read, at);
}

BOOL WINAPI FailingWriteFile(HANDLE file, LPCVOID buffer, DWORD count, LPDWORD written,
                             LPOVERLAPPED at) {
  if (Tracked(file) && Fails(L"WriteFile", nullptr)) {
    if (count > 1) real_write_file(file, buffer, count / 2, written, at);
    if (written) *written = 0;
    SetLastError(settings.code);
    return FALSE;
  }
  return real_write_file(file, buffer, count, written, at);
}

BOOL WINAPI FailingGetFileSizeEx(HANDLE file, PLARGE_INTEGER size) {
  if (Tracked(file) && Fails(L"GetFileSizeEx", nullptr)) return FALSE;
  return real_get_file_size_ex(file, size);
}

BOOL WINAPI FailingCopyFile(LPCWSTR source, LPCWSTR destination, BOOL fail_if_exists) {
  const wchar_t* chosen = Chosen(source) ? source : Chosen(destination) ? destination : nullptr;
  if (chosen && Fails(L"CopyFileW", chosen)) return FALSE;
  return real_copy_file(source, destination, fail_if_exists);
}

BOOL WINAPI FailingDeleteFile(LPCWSTR path) {
  if (Chosen(path) && Fails(L"DeleteFileW", path)) return FALSE;
  return real_delete_file(path);
}

BOOL WINAPI FailingReplaceFile(LPCWSTR replaced, LPCWSTR replacement, LPCWSTR backup, DWORD flags,
                               LPVOID exclude, LPVOID reserved) {
  const wchar_t* chosen =
      Chosen(replaced) ? replaced : Chosen(replacement) ? replacement : nullptr;
  bool merge_errors_ignored =
      (flags & (REPLACEFILE_IGNORE_MERGE_ERRORS | REPLACEFILE_IGNORE_ACL_ERRORS)) != 0;
  if (settings.access_list && merge_errors_ignored) chosen = nullptr;
  if (chosen && Fails(L"ReplaceFileW", chosen)) return FALSE;
  return real_replace_file(replaced, replacement, backup, flags, exclude, reserved);
}

BOOL WINAPI FailingCreateProcess(LPCWSTR application, LPWSTR command_line,
                                 LPSECURITY_ATTRIBUTES process_security,
                                 LPSECURITY_ATTRIBUTES thread_security, BOOL inherit,
                                 DWORD flags, LPVOID environment, LPCWSTR folder,
                                 LPSTARTUPINFOW startup, LPPROCESS_INFORMATION process) {
  const wchar_t* chosen =
      Chosen(application) ? application : Chosen(command_line) ? command_line : nullptr;
  if (chosen && Fails(L"CreateProcessW", chosen)) return FALSE;
  return real_create_process(application, command_line, process_security, thread_security,
                             inherit, flags, environment, folder, startup, process);
}

HMODULE WINAPI FailingLoadLibrary(LPCWSTR path) {
  if (Chosen(path) && Fails(L"LoadLibraryW", path)) return nullptr;
  return real_load_library(path);
}

BOOL WINAPI TrackingCloseHandle(HANDLE handle) {
  chosen_handles.erase(std::remove(chosen_handles.begin(), chosen_handles.end(), handle),
                       chosen_handles.end());
  return real_close_handle(handle);
}

// The chosen account as the token's user, laid out as TOKEN_USER is.
BOOL WINAPI ChosenGetTokenInformation(HANDLE token, TOKEN_INFORMATION_CLASS kind, LPVOID buffer,
                                      DWORD size, PDWORD needed) {
  PSID sid = nullptr;
  if (kind != TokenUser || settings.user.empty() ||
      !ConvertStringSidToSidW(settings.user.c_str(), &sid)) {
    return real_get_token_information(token, kind, buffer, size, needed);
  }
  DWORD sid_size = GetLengthSid(sid);
  *needed = sizeof(TOKEN_USER) + sid_size;
  BOOL answered = buffer && size >= *needed;
  if (answered) {
    auto* user = static_cast<TOKEN_USER*>(buffer);
    user->User.Sid = static_cast<BYTE*>(buffer) + sizeof(TOKEN_USER);
    user->User.Attributes = 0;
    CopySid(sid_size, user->User.Sid, sid);
  }
  LocalFree(sid);
  if (!answered) SetLastError(ERROR_INSUFFICIENT_BUFFER);
  return answered;
}

BOOL WINAPI ChosenProcessIdToSessionId(DWORD process, DWORD* session) {
  if (settings.session.empty()) return real_process_id_to_session_id(process, session);
  *session = wcstoul(settings.session.c_str(), nullptr, 10);
  return TRUE;
}

// Points the exe's imports of the hooked names at the hooks.
void HookImports() {
  PatchImports({
      HookOf("kernel32.dll", "CreateFileW", &FailingCreateFile, &real_create_file),
      HookOf("kernel32.dll", "ReadFile", &FailingReadFile, &real_read_file),
      HookOf("kernel32.dll", "WriteFile", &FailingWriteFile, &real_write_file),
      HookOf("kernel32.dll", "GetFileSizeEx", &FailingGetFileSizeEx, &real_get_file_size_ex),
      HookOf("kernel32.dll", "CopyFileW", &FailingCopyFile, &real_copy_file),
      HookOf("kernel32.dll", "DeleteFileW", &FailingDeleteFile, &real_delete_file),
      HookOf("kernel32.dll", "ReplaceFileW", &FailingReplaceFile, &real_replace_file),
      HookOf("kernel32.dll", "CreateProcessW", &FailingCreateProcess, &real_create_process),
      HookOf("kernel32.dll", "LoadLibraryW", &FailingLoadLibrary, &real_load_library),
      HookOf("kernel32.dll", "CloseHandle", &TrackingCloseHandle, &real_close_handle),
      HookOf("kernel32.dll", "ProcessIdToSessionId", &ChosenProcessIdToSessionId,
             &real_process_id_to_session_id),
      HookOf("advapi32.dll", "GetTokenInformation", &ChosenGetTokenInformation,
             &real_get_token_information),
  });
}

void ReadSettings() {
  settings.path = Lower(Environment(L"FAULT_PATH"));
  settings.code = wcstoul(Environment(L"FAULT_CODE").c_str(), nullptr, 0);
  std::wstring calls = Environment(L"FAULT_CALLS");
  if (!calls.empty()) settings.calls = L"," + calls + L",";
  std::wstring after = Environment(L"FAULT_AFTER");
  size_t colon = after.find(L':');
  if (colon != std::wstring::npos) {
    settings.trigger = after.substr(0, colon);
    settings.trigger_after = wcstol(after.c_str() + colon + 1, nullptr, 10);
  }
  settings.log = Environment(L"FAULT_LOG");
  settings.access_list = Environment(L"FAULT_ACCESS_LIST") == L"1";
  settings.user = Environment(L"FAULT_USER");
  settings.session = Environment(L"FAULT_SESSION");
}

}  // namespace

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    ReadSettings();
    HookImports();
  }
  return TRUE;
}
