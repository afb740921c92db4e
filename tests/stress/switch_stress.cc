// Shared use of Internet.set under load, in separate processes: one writer
// presses STOP and ReSTART as fast as it can while the Launcher's reader
// (first line, trimmed) and the switch tool's (read-write open, first byte)
// read the same file. Every write must succeed, and every read must decide
// running or stopped as its rule says of the bytes it read, or fail with a
// file-access error (the file is in use or empty for a moment, which counts
// as running); anything else fails the test.
//
//   switch_stress FOLDER SECONDS           runs the whole test and prints counts
//   switch_stress writer|line|byte FILE SECONDS RESULT   one process of it
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "common/error.h"
#include "common/platform_win32.h"
#include "common/switch_file.h"

namespace {

using Clock = std::chrono::steady_clock;

struct Counts {
  long stopped = 0, running = 0, other = 0;
  std::map<int32_t, long> errors;  // file-access errors by number
  std::string unexpected;          // the first read that broke the rules
};

void Record(Counts& counts, AccessSwitch state) {
  ++(state == AccessSwitch::kStopped ? counts.stopped : counts.running);
}

// What the writer ever leaves in the file: nothing, N or Y, each with CR LF.
bool Plausible(const std::string& bytes) {
  return bytes.empty() || bytes == "N" || bytes == "Y";
}

// A file whose reads are kept from its first byte on, so that a reader's
// decision can be checked against exactly the bytes it read.
class RecordedFile : public File {
 public:
  RecordedFile(std::unique_ptr<File> file, std::string& read)
      : file_(std::move(file)), read_(read) {}
  int64_t Length() override { return file_->Length(); }
  std::string ReadAt(int64_t offset, size_t count) override {
    std::string bytes = file_->ReadAt(offset, count);
    if (offset == static_cast<int64_t>(read_.size())) read_ += bytes;
    return bytes;
  }
  void WriteAt(int64_t offset, std::string_view bytes) override { file_->WriteAt(offset, bytes); }

 private:
  std::unique_ptr<File> file_;
  std::string& read_;
};

// The Windows platform, keeping what was read of the file it opened last.
class RecordingPlatform : public Win32Platform {
 public:
  std::string read;
  std::unique_ptr<File> Open(const std::wstring& path, OpenMode mode) override {
    read.clear();
    return std::make_unique<RecordedFile>(Win32Platform::Open(path, mode), read);
  }
};

// The rules the readers follow, written out once more: the Launcher stops at
// a first line (up to the first carriage return) that is "N" between blanks,
// the switch tool at a first byte "N".
std::string FirstLine(const std::string& bytes) { return bytes.substr(0, bytes.find('\r')); }
bool LineSaysStopped(const std::string& line) {
  size_t first = line.find_first_not_of(' ');
  return first != std::string::npos &&
         line.substr(first, line.find_last_not_of(' ') + 1 - first) == "N";
}

void ReadOnce(const std::string& mode, RecordingPlatform& platform, const std::wstring& path,
              Counts& counts) {
  try {
    AccessSwitch state;
    std::string seen;
    bool stopped;
    if (mode == "line") {
      state = ReadSwitchFirstLine(platform, path);
      seen = FirstLine(platform.read);
      stopped = LineSaysStopped(seen);
    } else {
      state = ReadSwitchFirstByte(*platform.Open(path, OpenMode::kReadWrite));
      seen = platform.read.substr(0, 1);
      stopped = seen == "N";
    }
    if (!Plausible(seen)) counts.unexpected = mode + " read '" + seen + "'";
    if ((state == AccessSwitch::kStopped) != stopped) {
      counts.unexpected = mode + " reader decided against the rule on '" + seen + "'";
    }
    Record(counts, state);
  } catch (const RunTimeError& e) {
    if (IsFileAccessError(e.number())) {
      ++counts.errors[e.number()];
    } else {
      ++counts.other;
      counts.unexpected = "error " + std::to_string(e.number());
    }
  }
}

int RunOne(const std::string& mode, const std::wstring& path, int seconds, const char* result) {
  RecordingPlatform platform;
  Counts counts;
  auto end = Clock::now() + std::chrono::seconds(seconds);
  for (long n = 0; Clock::now() < end; ++n) {
    if (mode == "writer") {
      AccessSwitch state = n % 2 ? AccessSwitch::kRunning : AccessSwitch::kStopped;
      // Every reader shares the file with the writer: a press of STOP or
      // ReSTART never fails because a Launcher or a switch is reading.
      try {
        WriteSwitch(platform, path, state);
        Record(counts, state);
      } catch (const RunTimeError& e) {
        ++counts.other;
        counts.unexpected = "the writer failed with error " + std::to_string(e.number());
      }
    } else {
      ReadOnce(mode, platform, path, counts);
    }
  }
  std::ofstream out(result);
  out << counts.stopped << ' ' << counts.running << ' ' << counts.other << ' '
      << counts.errors.size();
  for (auto [number, times] : counts.errors) out << ' ' << number << ' ' << times;
  out << '\n' << counts.unexpected << '\n';
  return 0;
}

struct Child {
  std::string mode;
  std::string result;
  HANDLE process;
};

Child Spawn(const std::string& self, const std::string& mode, const std::string& file,
            int seconds, const std::string& result) {
  std::string line = "\"" + self + "\" " + mode + " \"" + file + "\" " +
                     std::to_string(seconds) + " \"" + result + "\"";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process)) {
    std::fprintf(stderr, "cannot start %s\n", line.c_str());
    std::exit(1);
  }
  CloseHandle(process.hThread);
  return {mode, result, process.hProcess};
}

bool Report(const Child& child) {
  std::ifstream in(child.result);
  long stopped = 0, running = 0, other = 0;
  size_t kinds = 0;
  in >> stopped >> running >> other >> kinds;
  std::string errors;
  for (size_t i = 0; i < kinds; ++i) {
    long number = 0, times = 0;
    in >> number >> times;
    errors += " error " + std::to_string(number) + " x" + std::to_string(times);
  }
  std::string unexpected;
  std::getline(in >> std::ws, unexpected);
  const char* role = child.mode == "writer" ? "writer       " : child.mode == "line" ? "line reader  " : "byte reader  ";
  std::printf("%s %8ld stopped %8ld running%s\n", role, stopped, running, errors.c_str());
  if (!in.good() && unexpected.empty() && stopped + running == 0) {
    std::printf("  no result\n");
    return false;
  }
  if (other || !unexpected.empty()) {
    std::printf("  broke the rules: %s\n", unexpected.c_str());
    return false;
  }
  return stopped + running > 0;
}

int RunAll(const std::string& self, const std::string& folder, int seconds) {
  std::string file = folder + "\\Internet.set";
  std::vector<Child> children;
  const char* modes[] = {"writer", "line", "line", "byte", "byte"};
  int index = 0;
  for (const char* mode : modes) {
    children.push_back(Spawn(self, mode, file, seconds,
                             folder + "\\result" + std::to_string(index++) + ".txt"));
  }
  bool passed = true;
  for (const Child& child : children) {
    WaitForSingleObject(child.process, INFINITE);
    CloseHandle(child.process);
    passed = Report(child) && passed;
  }
  std::printf("%s\n", passed ? "PASSED: every read decided running or stopped by the rules"
                             : "FAILED");
  return passed ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3) return RunAll(argv[0], argv[1], std::atoi(argv[2]));
  if (argc == 5) {
    std::wstring path(argv[2], argv[2] + std::strlen(argv[2]));
    return RunOne(argv[1], path, std::atoi(argv[3]), argv[4]);
  }
  std::fprintf(stderr, "usage: switch_stress FOLDER SECONDS\n");
  return 2;
}
