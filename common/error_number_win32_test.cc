// The mapping from Win32 codes to run-time error numbers, family by family,
// with the members that are easiest to get wrong.
#include "error_number_win32.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <initializer_list>

#include "error.h"

namespace {

struct Family {
  const char* name;
  std::initializer_list<unsigned long> codes;
  int32_t number;
};

const Family kFamilies[] = {
    {"missing file", {ERROR_FILE_NOT_FOUND}, 53},
    {"missing folder", {ERROR_PATH_NOT_FOUND, ERROR_DIRECTORY}, 76},
    {"refused", {ERROR_ACCESS_DENIED, ERROR_NETWORK_ACCESS_DENIED, 225 /* virus */,
                 740 /* elevation */, ERROR_ACCESS_DISABLED_BY_POLICY,
                 577 /* no policy accepts the program */, 4551 /* App Control */}, 75},
    {"sign-in refused", {ERROR_LOGON_FAILURE, ERROR_ACCOUNT_RESTRICTION, ERROR_INVALID_LOGON_HOURS,
                         ERROR_INVALID_WORKSTATION, ERROR_PASSWORD_EXPIRED, ERROR_ACCOUNT_DISABLED,
                         ERROR_LOGON_TYPE_NOT_GRANTED, ERROR_ACCOUNT_LOCKED_OUT,
                         1272 /* guest logon blocked */, ERROR_INVALID_PASSWORD,
                         ERROR_SESSION_CREDENTIAL_CONFLICT, ERROR_NOT_AUTHENTICATED,
                         ERROR_NOT_LOGGED_ON, ERROR_ACCESS_DISABLED_BY_POLICY,
                         ERROR_DOWNGRADE_DETECTED, ERROR_NO_LOGON_SERVERS, ERROR_TIME_SKEW,
                         ERROR_TRUSTED_RELATIONSHIP_FAILURE, ERROR_NOLOGON_WORKSTATION_TRUST_ACCOUNT,
                         0xC000A000 /* signature required */}, 75},
    {"unusable name", {ERROR_INVALID_NAME, ERROR_BAD_PATHNAME, ERROR_FILENAME_EXCED_RANGE,
                       ERROR_INVALID_NETNAME}, 75},
    {"not replaced", {ERROR_UNABLE_TO_REMOVE_REPLACED, ERROR_UNABLE_TO_MOVE_REPLACEMENT_2}, 75},
    {"held", {ERROR_SHARING_VIOLATION, ERROR_LOCK_VIOLATION, ERROR_WRITE_PROTECT,
              ERROR_DELETE_PENDING, ERROR_USER_MAPPED_FILE}, 70},
    {"device unavailable", {ERROR_NOT_READY, ERROR_INVALID_DRIVE, ERROR_BAD_NETPATH,
                            ERROR_NETWORK_BUSY, ERROR_ADAP_HDW_ERR, ERROR_NETNAME_DELETED,
                            ERROR_BAD_NET_NAME, ERROR_SHARING_PAUSED, ERROR_REQ_NOT_ACCEP,
                            ERROR_REDIR_PAUSED, ERROR_SEM_TIMEOUT, ERROR_VC_DISCONNECTED,
                            ERROR_DEVICE_NOT_CONNECTED, ERROR_TIMEOUT, ERROR_CONNECTION_UNAVAIL,
                            ERROR_NO_NET_OR_BAD_PATH, ERROR_NO_NETWORK, ERROR_CONNECTION_REFUSED,
                            ERROR_NETWORK_UNREACHABLE, ERROR_CONNECTION_COUNT_LIMIT,
                            ERROR_HOST_DOWN, ERROR_CSCSHARE_OFFLINE, ERROR_NOT_CONNECTED,
                            806 /* handle revoked */, 0xC05D0003 /* no signing algorithm */}, 68},
    {"device I/O error", {ERROR_GEN_FAILURE, ERROR_NET_WRITE_FAULT, ERROR_IO_DEVICE, ERROR_CRC,
                          ERROR_MR_MID_NOT_FOUND}, 57},
    {"end of file", {ERROR_HANDLE_EOF}, 62},
    {"no room", {ERROR_DISK_FULL, ERROR_HANDLE_DISK_FULL, 1295 /* quota */}, 61},
    {"too many files", {ERROR_TOO_MANY_OPEN_FILES}, 67},
    {"memory", {ERROR_NOT_ENOUGH_MEMORY, ERROR_OUTOFMEMORY}, 7},
    {"already there", {ERROR_FILE_EXISTS, ERROR_ALREADY_EXISTS}, 58},
    {"not the file's failure", {ERROR_INVALID_FUNCTION, ERROR_INVALID_HANDLE,
                                ERROR_INVALID_PARAMETER, ERROR_NO_SYSTEM_RESOURCES,
                                ERROR_BAD_EXE_FORMAT, ERROR_OPERATION_ABORTED,
                                ERROR_PRINTQ_FULL, 0xC0000001 /* another raw status */,
                                0x80004005 /* E_FAIL */}, 51},
};

}  // namespace

TEST(ErrorNumberFromWin32, EachFamilyLandsOnItsNumber) {
  for (const Family& family : kFamilies) {
    for (unsigned long code : family.codes) {
      EXPECT_EQ(ErrorNumberFromWin32(code), family.number) << family.name << ": " << code;
    }
  }
}

TEST(ErrorNumberFromWin32, TheRedirectorsBlockIsAFileAccessErrorButForPrinting) {
  for (unsigned long code = ERROR_REM_NOT_LIST; code <= ERROR_REDIR_PAUSED; ++code) {
    bool printing = code >= ERROR_PRINTQ_FULL && code <= ERROR_PRINT_CANCELLED;
    EXPECT_EQ(IsFileAccessError(ErrorNumberFromWin32(code)), !printing) << code;
  }
}

TEST(ErrorNumberFromWin32, AWrappedCodeLandsWhereTheCodeDoes) {
  for (unsigned long code = 1; code <= 0xFFFF; ++code) {
    unsigned long wrapped = static_cast<unsigned long>(HRESULT_FROM_WIN32(code));
    ASSERT_EQ(ErrorNumberFromWin32(wrapped), ErrorNumberFromWin32(code)) << code;
  }
}
