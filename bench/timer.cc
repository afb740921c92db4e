// timer: how long programs take from being started to showing their window,
// measured from inside the Wine prefix (or Windows session) they run in.
//
//   timer.exe ROUNDS TARGETS
//
// TARGETS is a UTF-8 file with one program a line and four fields separated
// by tabs: a name, "window" or "message" (a message box), the window's title,
// and the command line. Each program runs once untimed, then ROUNDS times,
// taking turns in the file's order, in reverse order every other round. A run:
// a high-resolution timestamp, CreateProcess, then about every millisecond a
// look for a visible window of that title among the windows of the program's
// thread; then the program is terminated and waited for. Prints
// "NAME<TAB>MILLISECONDS" for each timed run. Exit status 1 when a program
// showed no window within 10 s or ended without one, 2 for a wrong command
// line or targets file.
//
// Only the program's own windows are looked at: FindWindow would ask Wine's
// server for the title of every window on the desktop at each look, and so
// slow down the program it waits for.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr double kTimeoutMs = 10000;
constexpr DWORD kSettleMs = 100;  // between runs, for Wine and the display to catch up

class Failure : public std::runtime_error {
  using std::runtime_error::runtime_error;
};

class UsageError : public std::runtime_error {
  using std::runtime_error::runtime_error;
};

struct Target {
  std::string name;
  const wchar_t* window_class;  // nullptr for any
  std::wstring title;
  std::wstring command_line;
};

std::wstring Wide(const std::string& utf8) {
  const int length = static_cast<int>(utf8.size());
  std::wstring wide(static_cast<size_t>(MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length,
                                                            nullptr, 0)), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length, wide.data(), static_cast<int>(wide.size()));
  return wide;
}

std::vector<std::string> Fields(const std::string& line) {
  std::vector<std::string> fields;
  size_t start = 0;
  for (size_t tab; (tab = line.find('\t', start)) != std::string::npos; start = tab + 1) {
    fields.push_back(line.substr(start, tab - start));
  }
  fields.push_back(line.substr(start));
  return fields;
}

std::vector<Target> ReadTargets(const std::filesystem::path& path) {
  std::ifstream file(path);
  if (!file) throw UsageError("cannot read " + path.string());
  std::vector<Target> targets;
  for (std::string line; std::getline(file, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty()) continue;
    std::vector<std::string> fields = Fields(line);
    if (fields.size() != 4 || (fields[1] != "window" && fields[1] != "message")) {
      throw UsageError("not NAME<TAB>window|message<TAB>TITLE<TAB>COMMAND: " + line);
    }
    targets.push_back({fields[0], fields[1] == "message" ? L"#32770" : nullptr, Wide(fields[2]),
                       Wide(fields[3])});
  }
  if (targets.empty()) throw UsageError("no targets in " + path.string());
  return targets;
}

double Milliseconds(LARGE_INTEGER from) {
  static const LONGLONG frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f.QuadPart;
  }();
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart - from.QuadPart) * 1000.0 /
         static_cast<double>(frequency);
}

std::wstring TextOf(HWND window, int (WINAPI* get)(HWND, LPWSTR, int)) {
  wchar_t text[256];
  return std::wstring(text, static_cast<size_t>(get(window, text, 256)));
}

struct Search {
  const Target& target;
  bool found;
};

BOOL CALLBACK LookAt(HWND window, LPARAM search_pointer) {
  auto& search = *reinterpret_cast<Search*>(search_pointer);
  const Target& target = search.target;
  search.found = IsWindowVisible(window) && TextOf(window, GetWindowTextW) == target.title &&
                 (!target.window_class || TextOf(window, GetClassNameW) == target.window_class);
  return !search.found;
}

bool Shows(const Target& target, DWORD thread) {
  Search search{target, false};
  EnumThreadWindows(thread, LookAt, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

double TimeToWindow(const Target& target) {
  std::wstring command_line = target.command_line;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  LARGE_INTEGER start;
  QueryPerformanceCounter(&start);
  if (!CreateProcessW(nullptr, command_line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process)) {
    throw Failure(target.name + ": CreateProcess failed, error " +
                  std::to_string(GetLastError()));
  }
  double elapsed = -1;
  for (;;) {
    if (Shows(target, process.dwThreadId)) {
      elapsed = Milliseconds(start);
      break;
    }
    if (Milliseconds(start) > kTimeoutMs ||
        WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0) {
      break;
    }
    Sleep(1);
  }
  TerminateProcess(process.hProcess, 0);
  WaitForSingleObject(process.hProcess, INFINITE);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  if (elapsed < 0) throw Failure(target.name + ": no visible window");
  Sleep(kSettleMs);
  return elapsed;
}

void Run(int rounds, std::vector<Target> targets) {
  for (const Target& target : targets) TimeToWindow(target);
  for (int round = 0; round < rounds; ++round) {
    for (const Target& target : targets) {
      std::printf("%s\t%.3f\n", target.name.c_str(), TimeToWindow(target));
    }
    std::fflush(stdout);
    std::ranges::reverse(targets);
  }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  try {
    if (argc != 3) throw UsageError("usage: timer ROUNDS TARGETS");
    const int rounds = _wtoi(argv[1]);
    if (rounds < 1) throw UsageError("ROUNDS must be a positive number");
    Run(rounds, ReadTargets(argv[2]));
    return 0;
  } catch (const UsageError& error) {
    std::fprintf(stderr, "timer: %s\n", error.what());
    return 2;
  } catch (const Failure& error) {
    std::fprintf(stderr, "timer: %s\n", error.what());
    return 1;
  }
}
