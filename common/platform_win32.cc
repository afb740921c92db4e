#include "platform_win32.h"

#include <windows.h>

#include <memory>
#include <vector>

#include "error.h"
#include "program_folder.h"
#include "texts.h"

namespace {

[[noreturn]] void FailWithLastError() { throw RunTimeError(ErrorNumberFromWin32(GetLastError())); }

class Win32File : public File {
 public:
  explicit Win32File(HANDLE handle) : handle_(handle) {}
  ~Win32File() override { CloseHandle(handle_); }
  Win32File(const Win32File&) = delete;
  Win32File& operator=(const Win32File&) = delete;

  int64_t Length() override {
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(handle_, &size)) FailWithLastError();
    return size.QuadPart;
  }

  std::string ReadAt(int64_t offset, size_t count) override {
    std::string bytes(count, '\0');
    size_t done = 0;
    while (done < count) {
      OVERLAPPED at = At(offset + static_cast<int64_t>(done));
      DWORD read = 0;
      if (!ReadFile(handle_, bytes.data() + done, Chunk(count - done), &read, &at)) {
        if (GetLastError() == ERROR_HANDLE_EOF) break;
        FailWithLastError();
      }
      if (read == 0) break;
      done += read;
    }
    bytes.resize(done);
    return bytes;
  }

  void WriteAt(int64_t offset, std::string_view bytes) override {
    size_t done = 0;
    while (done < bytes.size()) {
      OVERLAPPED at = At(offset + static_cast<int64_t>(done));
      DWORD written = 0;
      if (!WriteFile(handle_, bytes.data() + done, Chunk(bytes.size() - done), &written, &at)) {
        FailWithLastError();
      }
      done += written;
    }
  }

 private:
  static OVERLAPPED At(int64_t offset) {
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(offset & 0xFFFFFFFF);
    at.OffsetHigh = static_cast<DWORD>(offset >> 32);
    return at;
  }
  static DWORD Chunk(size_t size) { return static_cast<DWORD>(size < (1u << 30) ? size : 1u << 30); }

  HANDLE handle_;
};

UINT IconStyle(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::kCritical: return MB_ICONERROR;
    case MessageIcon::kExclamation: return MB_ICONWARNING;
    case MessageIcon::kInformation: break;
  }
  return MB_ICONINFORMATION;
}

// The full path of the running program, as the system reports it.
std::wstring ModulePath() {
  std::vector<wchar_t> buffer(MAX_PATH);
  for (;;) {
    DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n == 0) FailWithLastError();
    if (n < buffer.size()) return std::wstring(buffer.data(), n);
    buffer.resize(buffer.size() * 2);
  }
}

// Whether this process runs as the well-known account; false when its
// token cannot tell.
bool ProcessUserIs(WELL_KNOWN_SID_TYPE account) {
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return false;
  std::unique_ptr<void, decltype(&CloseHandle)> closing(token, CloseHandle);
  DWORD size = 0;
  GetTokenInformation(token, TokenUser, nullptr, 0, &size);
  std::vector<BYTE> user(size);
  return size > 0 && GetTokenInformation(token, TokenUser, user.data(), size, &size) &&
         IsWellKnownSid(reinterpret_cast<TOKEN_USER*>(user.data())->User.Sid, account);
}

}  // namespace

std::wstring Win32Platform::ProgramFolder() { return FolderOfModule(ModulePath()); }

std::wstring Win32Platform::CommandLineText() { return ArgumentsOf(GetCommandLineW()); }

std::wstring Win32Platform::EnvironmentValue(const std::wstring& name) {
  DWORD size = GetEnvironmentVariableW(name.c_str(), nullptr, 0);
  if (size == 0) return std::wstring();
  std::wstring value(size, L'\0');
  DWORD n = GetEnvironmentVariableW(name.c_str(), value.data(), size);
  value.resize(n < size ? n : 0);
  return value;
}

std::unique_ptr<File> Win32Platform::Open(const std::wstring& path, OpenMode mode) {
  // Every open shares reading, writing and deleting: the programs on the
  // workstations and the server tools use the same files at once, and each
  // holds a file only for one read or one write.
  DWORD access = mode == OpenMode::kRead        ? GENERIC_READ
                 : mode == OpenMode::kReadWrite ? GENERIC_READ | GENERIC_WRITE
                                                : GENERIC_WRITE;
  DWORD disposition = mode == OpenMode::kRead        ? OPEN_EXISTING
                      : mode == OpenMode::kReadWrite ? OPEN_ALWAYS
                                                     : CREATE_ALWAYS;
  HANDLE handle = CreateFileW(path.c_str(), access,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) FailWithLastError();
  return std::make_unique<Win32File>(handle);
}

void Win32Platform::Delete(const std::wstring& path) {
  if (!DeleteFileW(path.c_str())) FailWithLastError();
}

void Win32Platform::Copy(const std::wstring& source, const std::wstring& destination) {
  if (!CopyFileW(source.c_str(), destination.c_str(), FALSE)) FailWithLastError();
}

void Win32Platform::Replace(const std::wstring& replaced, const std::wstring& replacement) {
  // No REPLACEFILE_IGNORE_MERGE_ERRORS: where the replaced file's access list
  // cannot be carried over (no WRITE_DAC, as through a share that grants only
  // Change), ReplaceFileW then fails with ERROR_ACCESS_DENIED before it moves
  // either file, instead of swapping in a file with only the folder's entries.
  if (!ReplaceFileW(replaced.c_str(), replacement.c_str(), nullptr, 0, nullptr, nullptr)) {
    FailWithLastError();
  }
}

void Win32Platform::RemoveDownloadMark(const std::wstring& path) {
  if (DeleteFileW((path + L":Zone.Identifier").c_str())) return;
  switch (DWORD code = GetLastError()) {
    case ERROR_FILE_NOT_FOUND:  // no mark
    case ERROR_INVALID_NAME:    // FAT and exFAT: no streams, so no mark
    case ERROR_NOT_SUPPORTED:   // a redirector without streams
      return;
    default:
      throw RunTimeError(ErrorNumberFromWin32(code));
  }
}

bool Win32Platform::FolderExists(const std::wstring& path) {
  DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES) return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  int32_t number = ErrorNumberFromWin32(GetLastError());
  if (number == errors::kFileNotFound || number == errors::kPathNotFound) return false;
  throw RunTimeError(number);
}

void Win32Platform::Start(const std::wstring& command_line, int window_style) {
  std::wstring mutable_line = command_line;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = static_cast<WORD>(window_style);
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, mutable_line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process)) {
    FailWithLastError();
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
}

void Win32Platform::ShowMessage(const std::wstring& text, const std::wstring& title,
                                MessageIcon icon) {
  // Task-modal: the program's window, if shown, takes no input meanwhile.
  MessageBoxW(nullptr, text.c_str(), title.c_str(),
              MB_OK | IconStyle(icon) | MB_TASKMODAL | MB_SETFOREGROUND);
}

// Windows since Vista runs the services, and what they start, in session 0,
// to which no one signs in: its window stations are never seen, whatever
// they say of themselves. Elsewhere a window station without WSF_VISIBLE has
// no display, as those of the services that deployment tools and scheduled
// tasks run as. Should either answer fail, the box is shown as always.
bool Win32Platform::Watched() {
  DWORD session = 0;
  if (ProcessIdToSessionId(GetCurrentProcessId(), &session) && session == 0) return false;
  USEROBJECTFLAGS flags{};
  DWORD size = 0;
  if (!GetUserObjectInformationW(GetProcessWindowStation(), UOI_FLAGS, &flags, sizeof flags,
                                 &size)) {
    return true;
  }
  return (flags.dwFlags & WSF_VISIBLE) != 0;
}

// The source is not registered: RegisterEventSourceW then writes to the
// Application log, and the programs keep nothing in the registry.
void Win32Platform::RecordEvent(EventType type, uint16_t id,
                                const std::vector<std::wstring>& strings) {
  HANDLE source = RegisterEventSourceW(nullptr, texts::kEventSource);
  if (!source) return;
  std::vector<const wchar_t*> pointers;
  for (const std::wstring& text : strings) pointers.push_back(text.c_str());
  ReportEventW(source, type == EventType::kError ? EVENTLOG_ERROR_TYPE : EVENTLOG_WARNING_TYPE, 0,
               id, nullptr, static_cast<WORD>(pointers.size()), 0, pointers.data(), nullptr);
  DeregisterEventSource(source);
}

std::wstring Win32Platform::ProgramFileName() {
  try {
    std::wstring path = ModulePath();
    return path.substr(path.find_last_of(L'\\') + 1);
  } catch (const RunTimeError&) {
    return std::wstring();
  }
}

bool Win32Platform::RunsAsLocalSystem() { return ProcessUserIs(WinLocalSystemSid); }

void Win32Platform::EndProcess(int32_t exit_code) { ExitProcess(static_cast<UINT>(exit_code)); }
