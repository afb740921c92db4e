#include "platform_posix.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <vector>

#include "ansi.h"
#include "error.h"

extern char** environ;

namespace {

// Native paths: backslashes become slashes; the text goes through the ANSI
// code page as the files' names would on Windows.
std::string NativePath(const std::wstring& path) {
  std::string native = ToAnsi(path);
  for (char& c : native) {
    if (c == '\\') c = '/';
  }
  return native;
}

bool ParentFolderExists(const std::string& path) {
  size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return true;
  struct stat info {};
  return stat(slash == 0 ? "/" : path.substr(0, slash).c_str(), &info) == 0 &&
         S_ISDIR(info.st_mode);
}

[[noreturn]] void Fail(const std::string& path) {
  throw RunTimeError(ErrorNumberFromErrno(errno, path));
}

class PosixFile : public File {
 public:
  PosixFile(int fd, std::string path) : fd_(fd), path_(std::move(path)) {}
  ~PosixFile() override { close(fd_); }
  PosixFile(const PosixFile&) = delete;
  PosixFile& operator=(const PosixFile&) = delete;

  int64_t Length() override {
    struct stat info {};
    if (fstat(fd_, &info) != 0) Fail(path_);
    return info.st_size;
  }

  std::string ReadAt(int64_t offset, size_t count) override {
    std::string bytes(count, '\0');
    size_t done = 0;
    while (done < count) {
      ssize_t n = pread(fd_, bytes.data() + done, count - done, offset + static_cast<off_t>(done));
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) Fail(path_);
      if (n == 0) break;
      done += static_cast<size_t>(n);
    }
    bytes.resize(done);
    return bytes;
  }

  void WriteAt(int64_t offset, std::string_view bytes) override {
    size_t done = 0;
    while (done < bytes.size()) {
      ssize_t n = pwrite(fd_, bytes.data() + done, bytes.size() - done,
                         offset + static_cast<off_t>(done));
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) Fail(path_);
      done += static_cast<size_t>(n);
    }
  }

 private:
  int fd_;
  std::string path_;
};

std::string ExecutablePath() {
  std::vector<char> buffer(4096);
  ssize_t n = readlink("/proc/self/exe", buffer.data(), buffer.size());
  if (n <= 0) Fail("/proc/self/exe");
  return std::string(buffer.data(), static_cast<size_t>(n));
}

std::vector<std::string> SplitAtBlanks(const std::string& text) {
  std::vector<std::string> words;
  std::istringstream in(text);
  for (std::string word; in >> word;) words.push_back(word);
  return words;
}

}  // namespace

int32_t ErrorNumberFromErrno(int error, const std::string& path) {
  switch (error) {
    case ENOENT: return ParentFolderExists(path) ? errors::kFileNotFound : errors::kPathNotFound;
    case ENOTDIR: return errors::kPathNotFound;
    case EACCES: case EPERM: case EISDIR: case ENAMETOOLONG: case ELOOP:
      return errors::kPathFileAccess;
    case EROFS: case ETXTBSY: case EAGAIN: return errors::kPermissionDenied;
    case EIO: return errors::kDeviceIo;
    case ENXIO: case ENODEV: case EHOSTDOWN: case EHOSTUNREACH: case ENETUNREACH: case ESTALE:
      return errors::kDeviceUnavailable;
    case ENOSPC: case EDQUOT: return errors::kDiskFull;
    case EMFILE: case ENFILE: return errors::kTooManyFiles;
    case ENOMEM: return errors::kOutOfMemory;
    case EEXIST: return errors::kFileExists;
    default: return errors::kInternal;
  }
}

std::wstring PosixPlatform::ProgramFolder() {
  std::string path = ExecutablePath();
  size_t slash = path.find_last_of('/');
  return FromAnsi(slash == 0 ? "/" : path.substr(0, slash));
}

std::wstring PosixPlatform::ProgramFileName() {
  try {
    std::string path = ExecutablePath();
    return FromAnsi(path.substr(path.find_last_of('/') + 1));
  } catch (const RunTimeError&) {
    return std::wstring();
  }
}

std::wstring PosixPlatform::CommandLineText() {
  std::ifstream in("/proc/self/cmdline", std::ios::binary);
  std::string arguments;
  bool program_name = true;
  for (std::string word; std::getline(in, word, '\0');) {
    if (!program_name) arguments += (arguments.empty() ? "" : " ") + word;
    program_name = false;
  }
  return FromAnsi(arguments);
}

std::wstring PosixPlatform::EnvironmentValue(const std::wstring& name) {
  const char* value = std::getenv(ToAnsi(name).c_str());
  return value ? FromAnsi(value) : std::wstring();
}

std::unique_ptr<File> PosixPlatform::Open(const std::wstring& path, OpenMode mode) {
  std::string native = NativePath(path);
  int flags = mode == OpenMode::kRead        ? O_RDONLY
              : mode == OpenMode::kReadWrite ? O_RDWR | O_CREAT
                                             : O_WRONLY | O_CREAT | O_TRUNC;
  int fd = open(native.c_str(), flags | O_CLOEXEC, 0666);
  if (fd < 0) Fail(native);
  struct stat info {};
  if (fstat(fd, &info) == 0 && S_ISDIR(info.st_mode)) {
    close(fd);
    throw RunTimeError(errors::kPathFileAccess);
  }
  return std::make_unique<PosixFile>(fd, native);
}

void PosixPlatform::Delete(const std::wstring& path) {
  std::string native = NativePath(path);
  if (unlink(native.c_str()) != 0) Fail(native);
}

void PosixPlatform::Copy(const std::wstring& source, const std::wstring& destination) {
  auto from = Open(source, OpenMode::kRead);
  std::string bytes = from->ReadAt(0, static_cast<size_t>(from->Length()));
  Open(destination, OpenMode::kOutput)->WriteAt(0, bytes);
}

void PosixPlatform::Replace(const std::wstring& replaced, const std::wstring& replacement) {
  std::string target = NativePath(replaced);
  if (rename(NativePath(replacement).c_str(), target.c_str()) != 0) Fail(target);
}

// POSIX file systems keep no download mark.
void PosixPlatform::RemoveDownloadMark(const std::wstring&) {}

bool PosixPlatform::FolderExists(const std::wstring& path) {
  std::string native = NativePath(path);
  struct stat info {};
  if (stat(native.c_str(), &info) == 0) return S_ISDIR(info.st_mode);
  if (errno == ENOENT || errno == ENOTDIR) return false;
  Fail(native);
}

void PosixPlatform::Start(const std::wstring& command_line, int) {
  std::vector<std::string> words = SplitAtBlanks(ToAnsi(command_line));
  if (words.empty()) throw RunTimeError(errors::kFileNotFound);
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);
  pid_t pid = 0;
  int error = posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ);
  if (error != 0) throw RunTimeError(ErrorNumberFromErrno(error, words[0]));
}

void PosixPlatform::ShowMessage(const std::wstring& text, const std::wstring& title,
                                MessageIcon) {
  std::fprintf(stderr, "[%s] %s\n", ToAnsi(title).c_str(), ToAnsi(text).c_str());
}

void PosixPlatform::RecordEvent(EventType type, uint16_t id,
                                const std::vector<std::wstring>& strings) {
  std::fprintf(stderr, "[%s %u]", type == EventType::kError ? "error" : "warning",
               static_cast<unsigned>(id));
  for (const std::wstring& text : strings) std::fprintf(stderr, " %s", ToAnsi(text).c_str());
  std::fprintf(stderr, "\n");
}

void PosixPlatform::EndProcess(int32_t exit_code) {
  std::fflush(nullptr);
  std::_Exit(exit_code);
}
