// The run-time services the three programs use: files, folders, processes,
// message boxes and ending the program. Failures throw RunTimeError with the
// numbers of error.h. Paths use backslashes on every platform.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

enum class OpenMode {
  kRead,       // read only, shared; a missing file raises 53
  kReadWrite,  // read and write, shared; a missing file is created empty
  kOutput,     // write; creates the file, or empties an existing one
};

enum class MessageIcon { kCritical, kExclamation, kInformation };

enum class EventType { kError, kWarning };

// An open file. Destroying it closes it, so a routine holds a file exactly as
// long as the scope that opened it.
class File {
 public:
  virtual ~File() = default;
  virtual int64_t Length() = 0;
  // Up to `count` bytes from `offset`; fewer at the end of the file.
  virtual std::string ReadAt(int64_t offset, size_t count) = 0;
  virtual void WriteAt(int64_t offset, std::string_view bytes) = 0;
};

class Platform {
 public:
  virtual ~Platform() = default;

  // The folder of the running program, without a trailing backslash except at
  // a drive root, in plain form (C:\dir or \\server\share\dir).
  virtual std::wstring ProgramFolder() = 0;
  // The command line's arguments without the program name; empty when none.
  virtual std::wstring CommandLineText() = 0;
  // A variable's value, or the empty text when it is not set.
  virtual std::wstring EnvironmentValue(const std::wstring& name) = 0;

  virtual std::unique_ptr<File> Open(const std::wstring& path, OpenMode mode) = 0;
  virtual void Delete(const std::wstring& path) = 0;
  // Replaces an existing destination; a missing source raises 53.
  virtual void Copy(const std::wstring& source, const std::wstring& destination) = 0;
  // Puts `replacement` in the place of `replaced`, keeping the identity and the
  // permissions of `replaced`; `replacement` is gone afterwards. Where the
  // permissions cannot be carried over, it raises 75 and moves neither file.
  virtual void Replace(const std::wstring& replaced, const std::wstring& replacement) = 0;
  // Removes the mark with which Windows flags a file that came from the
  // Internet (its Zone.Identifier stream), which a copy carries along. A file
  // without one, or on a file system that keeps none, is left as it is.
  virtual void RemoveDownloadMark(const std::wstring& path) = 0;
  // Whether a folder is at `path`: false where nothing is, or only a file; a
  // place that cannot be looked at (refused, a share gone) raises its number.
  virtual bool FolderExists(const std::wstring& path) = 0;

  // Starts a command line and returns at once; a missing program raises 53.
  virtual void Start(const std::wstring& command_line, int window_style) = 0;

  // A modal box with one OK button, shown even when no window is visible.
  virtual void ShowMessage(const std::wstring& text, const std::wstring& title,
                           MessageIcon icon) = 0;
  // Whether a person can see the program's message boxes and answer them:
  // not where it runs as a deployment tool's or a scheduled task's service
  // does, on a window station without a display or in the services' session.
  virtual bool Watched() = 0;
  // Writes one event to this computer's Application log. Never fails: an
  // event that cannot be written is left out.
  virtual void RecordEvent(EventType type, uint16_t id,
                           const std::vector<std::wstring>& strings) = 0;
  // The file name of the running program, such as setup.exe; empty should
  // the system not tell it.
  virtual std::wstring ProgramFileName() = 0;
  // Whether the program runs as the LocalSystem account (S-1-5-18), as
  // deployment tools run installations; false when that cannot be told.
  virtual bool RunsAsLocalSystem() = 0;
  // Ends the program at once: no further routine runs and no window stays.
  // The exit code tells whoever started the program how it went: 0, or the
  // number of the error it last reported.
  [[noreturn]] void EndProgram(int32_t exit_code = 0) {
    EndProcess(exit_code);
    std::abort();  // not reached: EndProcess does not return
  }

 protected:
  virtual void EndProcess(int32_t exit_code) = 0;
};
