// The mapping from Win32 codes to run-time error numbers: every code of the
// ranges that error_number_win32.h names, and the members of the other
// families that are easiest to get wrong. The expected numbers are written
// here from the codes' meanings in Microsoft's System Error Codes pages, each
// code also as an HRESULT (0x8007xxxx).
#include "error_number_win32.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <initializer_list>
#include <map>

#include "error.h"

namespace {

void ExpectNumber(unsigned long code, int32_t number, const char* what) {
  EXPECT_EQ(ErrorNumberFromWin32(code), number) << what << ": " << code;
  if (code <= 0xFFFF) {
    unsigned long wrapped = static_cast<unsigned long>(HRESULT_FROM_WIN32(code));
    EXPECT_EQ(ErrorNumberFromWin32(wrapped), number) << what << ": wrapped " << code;
  }
}

// Every code from `first` to `last` lands on `others`, but those listed.
struct Range {
  const char* name;
  unsigned long first, last;
  int32_t others;
  std::map<unsigned long, int32_t> listed;
};

const Range kRanges[] = {
    {"the redirector's block", 51, 72, 68,
     {{61, 51}, {62, 51}, {63, 51},  // the print queue: full, no spool space, cancelled
      {65, 75}}},                    // ERROR_NETWORK_ACCESS_DENIED
    {"ReplaceFileW's failures", 1175, 1177, 75, {}},
    // WNet and the transports: the connection, the network, the host and the
    // server that cannot be used land on 68, the rest are no failure of a share.
    {"WNet and the transports", 1200, 1256, 51,
     {{1200, 68},   // ERROR_BAD_DEVICE
      {1201, 68},   // ERROR_CONNECTION_UNAVAIL
      {1203, 68},   // ERROR_NO_NET_OR_BAD_PATH
      {1204, 68},   // ERROR_BAD_PROVIDER
      {1210, 75},   // ERROR_INVALID_COMPUTERNAME
      {1214, 75},   // ERROR_INVALID_NETNAME
      {1215, 75},   // ERROR_INVALID_SHARENAME
      {1219, 75},   // ERROR_SESSION_CREDENTIAL_CONFLICT
      {1220, 68},   // ERROR_REMOTE_SESSION_LIMIT_EXCEEDED
      {1222, 68},   // ERROR_NO_NETWORK
      {1224, 70},   // ERROR_USER_MAPPED_FILE
      {1225, 68},   // ERROR_CONNECTION_REFUSED
      {1226, 68},   // ERROR_GRACEFUL_DISCONNECT
      {1228, 68},   // ERROR_ADDRESS_NOT_ASSOCIATED
      {1229, 68},   // ERROR_CONNECTION_INVALID
      {1231, 68},   // ERROR_NETWORK_UNREACHABLE
      {1232, 68},   // ERROR_HOST_UNREACHABLE
      {1233, 68},   // ERROR_PROTOCOL_UNREACHABLE
      {1234, 68},   // ERROR_PORT_UNREACHABLE
      {1235, 68},   // ERROR_REQUEST_ABORTED
      {1236, 68},   // ERROR_CONNECTION_ABORTED
      {1237, 68},   // ERROR_RETRY
      {1238, 68},   // ERROR_CONNECTION_COUNT_LIMIT
      {1239, 75},   // ERROR_LOGIN_TIME_RESTRICTION
      {1240, 75},   // ERROR_LOGIN_WKSTA_RESTRICTION
      {1244, 75},   // ERROR_NOT_AUTHENTICATED
      {1245, 75},   // ERROR_NOT_LOGGED_ON
      {1255, 68},   // ERROR_SERVER_SHUTDOWN_IN_PROGRESS
      {1256, 68}}},  // ERROR_HOST_DOWN
    // Accounts and passwords: a sign-in refused; groups and password changes
    // are nothing a file operation meets.
    {"accounts", 1317, 1331, 75,
     {{1318, 51}, {1319, 51}, {1320, 51}, {1321, 51}, {1322, 51}, {1324, 51}, {1325, 51}}},
    // Trusts and the logon service; printers and RPC in between.
    {"trusts", 1786, 1810, 51,
     {{1786, 75}, {1787, 75}, {1788, 75}, {1789, 75}, {1790, 75}, {1792, 75}, {1793, 75},
      {1807, 75}, {1808, 75}, {1809, 75}, {1810, 75}}},
    {"Offline Files", 1262, 1262, 68, {}},  // ERROR_CSCSHARE_OFFLINE
    {"offline and remote storage", 4350, 4352, 68,
     {{4352, 57}}},  // ERROR_REMOTE_STORAGE_MEDIA_ERROR
};

struct Family {
  const char* name;
  std::initializer_list<unsigned long> codes;
  int32_t number;
};

const Family kFamilies[] = {
    {"missing file", {ERROR_FILE_NOT_FOUND}, 53},
    {"missing folder", {ERROR_PATH_NOT_FOUND, ERROR_DIRECTORY}, 76},
    {"refused", {ERROR_ACCESS_DENIED, 225 /* virus */, 740 /* elevation */,
                 ERROR_ACCESS_DISABLED_BY_POLICY, 577 /* no policy accepts the program */,
                 4551 /* App Control */}, 75},
    {"sign-in refused", {ERROR_INVALID_PASSWORD, ERROR_LOGON_TYPE_NOT_GRANTED,
                         ERROR_ACCOUNT_LOCKED_OUT, 1272 /* guest logon blocked */, ERROR_DOWNGRADE_DETECTED,
                         ERROR_NO_LOGON_SERVERS, ERROR_TIME_SKEW,
                         0xC000A000 /* signature required */}, 75},
    {"unusable name", {ERROR_INVALID_NAME, ERROR_BAD_PATHNAME, ERROR_FILENAME_EXCED_RANGE}, 75},
    {"held", {ERROR_SHARING_VIOLATION, ERROR_LOCK_VIOLATION, ERROR_WRITE_PROTECT,
              ERROR_DELETE_PENDING}, 70},
    {"device unavailable", {ERROR_NOT_READY, ERROR_INVALID_DRIVE, ERROR_SEM_TIMEOUT,
                            ERROR_VC_DISCONNECTED, ERROR_DEVICE_NOT_CONNECTED, ERROR_TIMEOUT,
                            ERROR_NOT_CONNECTED, 806 /* handle revoked */,
                            0xC05D0000, 0xC05D0003, 0xC05DFFFF /* the SMB client's own */}, 68},
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
                                0xC0000001 /* another raw status */, 0xC05C0000, 0xC05E0000,
                                0x80004005 /* E_FAIL */}, 51},
};

}  // namespace

TEST(ErrorNumberFromWin32, EveryCodeOfTheNamedRangesLandsOnItsNumber) {
  for (const Range& range : kRanges) {
    for (unsigned long code = range.first; code <= range.last; ++code) {
      auto listed = range.listed.find(code);
      ExpectNumber(code, listed == range.listed.end() ? range.others : listed->second, range.name);
    }
  }
}

TEST(ErrorNumberFromWin32, EachFamilyLandsOnItsNumber) {
  for (const Family& family : kFamilies) {
    for (unsigned long code : family.codes) ExpectNumber(code, family.number, family.name);
  }
}
