// The platform services on POSIX, for the native tests. Backslashes in paths
// are taken as folder separators; sharing is not enforced, as POSIX has no
// mandatory locks; message boxes and events are written to standard error.
#pragma once

#include "platform.h"

// The run-time error number for an errno value from an operation on `path`.
//   ENOENT                 53 file not found, or 76 when the folder is missing
//   ENOTDIR                76 path not found (a path through a non-folder)
//   EACCES EPERM EISDIR    75 path/file access error (refused, or a folder)
//   ENAMETOOLONG ELOOP     75
//   EROFS ETXTBSY EAGAIN   70 permission denied (write-protected or locked)
//   EIO                    57 device I/O error
//   ENXIO ENODEV EHOSTDOWN EHOSTUNREACH ENETUNREACH ESTALE
//                          68 device unavailable
//   ENOSPC EDQUOT          61 disk full
//   EMFILE ENFILE          67 too many files
//   ENOMEM                  7 out of memory
//   EEXIST                 58 file already exists
//   anything else          51 internal error
int32_t ErrorNumberFromErrno(int error, const std::string& path);

class PosixPlatform : public Platform {
 public:
  std::wstring ProgramFolder() override;
  std::wstring CommandLineText() override;
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
  // Standard error waits for no one.
  bool Watched() override { return true; }
  void RecordEvent(EventType type, uint16_t id, const std::vector<std::wstring>& strings) override;
  std::wstring ProgramFileName() override;
  // POSIX has no LocalSystem account.
  bool RunsAsLocalSystem() override { return false; }
 protected:
  void EndProcess(int32_t exit_code) override;
};
