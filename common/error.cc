#include "error.h"

#include <new>

RunTimeError::RunTimeError(int32_t number)
    : std::runtime_error("run-time error " + std::to_string(number)), number_(number) {}

bool IsFileAccessError(int32_t number) {
  for (int32_t member : {errors::kFileNotFound, errors::kDeviceIo, errors::kInputPastEnd,
                         errors::kDeviceUnavailable, errors::kPermissionDenied,
                         errors::kPathNotFound, errors::kPathFileAccess}) {
    if (number == member) return true;
  }
  return false;
}

int32_t CaughtErrorNumber() {
  try {
    throw;
  } catch (const RunTimeError& e) {
    return e.number();
  } catch (const std::bad_alloc&) {
    return errors::kOutOfMemory;
  } catch (...) {
    return errors::kInternal;
  }
}

std::wstring ErrorDescription(int32_t number) {
  switch (number) {
    case errors::kInvalidCall: return L"Invalid procedure call or argument";
    case errors::kOutOfMemory: return L"Out of memory";
    case errors::kInternal: return L"Internal error";
    case errors::kBadFileName: return L"Bad file name or number";
    case errors::kFileNotFound: return L"File not found";
    case errors::kDeviceIo: return L"Device I/O error";
    case errors::kFileExists: return L"File already exists";
    case errors::kDiskFull: return L"Disk full";
    case errors::kInputPastEnd: return L"Input past end of file";
    case errors::kTooManyFiles: return L"Too many files";
    case errors::kDeviceUnavailable: return L"Device unavailable";
    case errors::kPermissionDenied: return L"Permission denied";
    case errors::kPathFileAccess: return L"Path/File access error";
    case errors::kPathNotFound: return L"Path not found";
    case errors::kCannotCreateObject: return L"Can't create object";
    case errors::kNoSuchInterface:
      return L"Class does not support Automation or does not support expected interface";
    case errors::kDllFunctionNotFound: return L"Specified DLL function not found";
    default: return L"Application-defined or object-defined error";
  }
}
