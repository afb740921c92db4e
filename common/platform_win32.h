// The platform services on Windows.
#pragma once

#include <cstdint>

#include "platform.h"

// The run-time error number for a Win32 error code.
//   ERROR_FILE_NOT_FOUND                                      53 file not found
//   ERROR_PATH_NOT_FOUND ERROR_DIRECTORY                      76 path not found
//   ERROR_ACCESS_DENIED ERROR_NETWORK_ACCESS_DENIED
//   ERROR_INVALID_NAME ERROR_BAD_PATHNAME
//   ERROR_FILENAME_EXCED_RANGE                                75 path/file access error
//   ERROR_SHARING_VIOLATION ERROR_LOCK_VIOLATION
//   ERROR_WRITE_PROTECT                                       70 permission denied
//   ERROR_BAD_NETPATH ERROR_BAD_NET_NAME ERROR_NOT_READY
//   ERROR_INVALID_DRIVE ERROR_BAD_UNIT ERROR_DEV_NOT_EXIST
//   ERROR_NETNAME_DELETED ERROR_UNEXP_NET_ERR ERROR_BAD_NET_RESP
//   ERROR_REM_NOT_LIST ERROR_NETWORK_UNREACHABLE
//   ERROR_HOST_UNREACHABLE ERROR_NO_NET_OR_BAD_PATH
//   ERROR_BAD_DEVICE ERROR_NOT_CONNECTED                      68 device unavailable
//   ERROR_CRC ERROR_SEEK ERROR_SECTOR_NOT_FOUND
//   ERROR_WRITE_FAULT ERROR_READ_FAULT ERROR_GEN_FAILURE
//   ERROR_IO_DEVICE                                           57 device I/O error
//   ERROR_HANDLE_EOF                                          62 input past end of file
//   ERROR_DISK_FULL ERROR_HANDLE_DISK_FULL                    61 disk full
//   ERROR_TOO_MANY_OPEN_FILES                                 67 too many files
//   ERROR_NOT_ENOUGH_MEMORY ERROR_OUTOFMEMORY                  7 out of memory
//   ERROR_FILE_EXISTS ERROR_ALREADY_EXISTS                    58 file already exists
//   anything else                                             51 internal error
int32_t ErrorNumberFromWin32(unsigned long code);

class Win32Platform : public Platform {
 public:
  std::wstring ProgramFolder() override;
  std::wstring CommandLineText() override;
  std::wstring EnvironmentValue(const std::wstring& name) override;
  std::unique_ptr<File> Open(const std::wstring& path, OpenMode mode) override;
  void Delete(const std::wstring& path) override;
  void Copy(const std::wstring& source, const std::wstring& destination) override;
  void Replace(const std::wstring& replaced, const std::wstring& replacement) override;
  void Start(const std::wstring& command_line, int window_style) override;
  void ShowMessage(const std::wstring& text, const std::wstring& title,
                   MessageIcon icon) override;
 protected:
  void EndProcess() override;
};
