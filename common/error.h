// Run-time error numbers, the exception that carries them, and the file-access
// error class that the start-up routines survive.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace errors {
inline constexpr int32_t kInvalidCall = 5;
inline constexpr int32_t kOutOfMemory = 7;
inline constexpr int32_t kInternal = 51;
inline constexpr int32_t kBadFileName = 52;
inline constexpr int32_t kFileNotFound = 53;
inline constexpr int32_t kDeviceIo = 57;
inline constexpr int32_t kFileExists = 58;
inline constexpr int32_t kDiskFull = 61;
inline constexpr int32_t kInputPastEnd = 62;
inline constexpr int32_t kTooManyFiles = 67;
inline constexpr int32_t kDeviceUnavailable = 68;
inline constexpr int32_t kPermissionDenied = 70;
inline constexpr int32_t kPathFileAccess = 75;
inline constexpr int32_t kPathNotFound = 76;
inline constexpr int32_t kCannotCreateObject = 429;
inline constexpr int32_t kNoSuchInterface = 430;
inline constexpr int32_t kDllFunctionNotFound = 453;
}  // namespace errors

// A failed operation, identified by its run-time error number.
class RunTimeError : public std::runtime_error {
 public:
  explicit RunTimeError(int32_t number);
  int32_t number() const { return number_; }

 private:
  int32_t number_;
};

// True for 53, 57, 62, 68, 70, 75 and 76: a file or its folder cannot be used.
bool IsFileAccessError(int32_t number);

// The number of the exception being handled; call only inside a catch block.
// Exceptions that carry no number count as out of memory or internal errors.
int32_t CaughtErrorNumber();

// The standard description of a run-time error number, as shown in the report
// of an unhandled error.
std::wstring ErrorDescription(int32_t number);
