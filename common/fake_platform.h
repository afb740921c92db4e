// A platform for headless tests: files live in memory, message boxes and
// started programs are recorded, and ending the program throws ProgramEnded.
#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform.h"

// Thrown by FakePlatform::EndProgram. Not a std::exception, so the programs'
// handlers let it pass.
struct ProgramEnded {};

// What a ReplaceFileW that fails part way leaves behind; each raises 75.
enum class ReplaceFailure {
  kNothingMoved,      // ERROR_UNABLE_TO_REMOVE_REPLACED: both files as they were
  kReplacedRemoved,   // ERROR_UNABLE_TO_MOVE_REPLACEMENT: the replaced file is gone
  kReplacedRenamed,   // ERROR_UNABLE_TO_MOVE_REPLACEMENT_2: the replaced file has
                      // a name of Windows' choosing
  kAccessListNotWritten,  // ERROR_ACCESS_DENIED: the replaced file's access list
                          // could not be carried over (no WRITE_DAC); both files
                          // as they were
};

struct RecordedEvent {
  EventType type;
  uint16_t id;
  std::vector<std::wstring> strings;
  bool operator==(const RecordedEvent&) const = default;
};

struct ShownMessage {
  std::wstring text;
  std::wstring title;
  MessageIcon icon;
  bool operator==(const ShownMessage&) const = default;
};

class FakePlatform : public Platform {
 public:
  // Contents by path; a path is a file when it is a key here.
  std::map<std::wstring, std::string> files;
  // Paths whose opens (any mode), deletes, copies to or starts fail with a number.
  std::map<std::wstring, int32_t> open_errors;
  std::map<std::wstring, int32_t> open_read_write_errors;
  // Opens that would create the file: a folder whose files may be written
  // but that takes no new one.
  std::map<std::wstring, int32_t> create_errors;
  std::map<std::wstring, int32_t> read_errors;  // lengths and reads of the open file
  // Reads of the open file from a byte offset on, where a file fails part way.
  std::map<std::wstring, std::pair<int64_t, int32_t>> read_errors_from;
  std::map<std::wstring, int32_t> write_errors;
  // Writes of the open file from a byte offset on: the bytes before it are
  // written, then the write fails, as when a connection drops half way.
  std::map<std::wstring, std::pair<int64_t, int32_t>> write_errors_from;
  std::map<std::wstring, int32_t> delete_errors;
  std::map<std::wstring, int32_t> start_errors;
  std::map<std::wstring, int32_t> replace_errors;  // by the path of the replaced file
  std::map<std::wstring, ReplaceFailure> replace_failures;  // likewise
  std::map<std::wstring, int32_t> unmark_errors;
  // Folders besides those that hold a file.
  std::set<std::wstring> folders;
  // Files that carry Windows' download mark; a copy carries its source's.
  std::set<std::wstring> download_marks;

  std::wstring program_folder = L"C:\\Program";
  std::wstring command_line;
  std::map<std::wstring, std::wstring> environment;

  bool watched = true;  // a person sees the message boxes
  bool local_system = false;
  std::wstring program_file_name = L"program.exe";

  std::vector<ShownMessage> messages;
  std::vector<RecordedEvent> events;  // of the Application log
  std::vector<std::wstring> started;  // command lines
  std::vector<std::wstring> log;      // "open <path>", "close <path>", "event <id>", ...
  int open_files = 0;                 // files open right now
  std::optional<int32_t> exit_code;   // once the program has ended

  std::wstring ProgramFolder() override { return program_folder; }
  std::wstring CommandLineText() override { return command_line; }
  std::wstring EnvironmentValue(const std::wstring& name) override;
  std::unique_ptr<File> Open(const std::wstring& path, OpenMode mode) override;
  void Delete(const std::wstring& path) override;
  void Copy(const std::wstring& source, const std::wstring& destination) override;
  void Replace(const std::wstring& replaced, const std::wstring& replacement) override;
  void RemoveDownloadMark(const std::wstring& path) override;
  bool FolderExists(const std::wstring& path) override;
  void Start(const std::wstring& command_line, int window_style) override;
  void ShowMessage(const std::wstring& text, const std::wstring& title,
                   MessageIcon icon) override;
  bool Watched() override { return watched; }
  void RecordEvent(EventType type, uint16_t id, const std::vector<std::wstring>& strings) override;
  std::wstring ProgramFileName() override { return program_file_name; }
  bool RunsAsLocalSystem() override { return local_system; }
 protected:
  void EndProcess(int32_t exit_code) override;
};
