#include "error_number_win32.h"

#include <windows.h>

#include "error.h"

// Codes that newer Windows versions return and older headers lack.
#ifndef ERROR_VIRUS_INFECTED
#define ERROR_VIRUS_INFECTED 225L
#endif
#ifndef ERROR_VIRUS_DELETED
#define ERROR_VIRUS_DELETED 226L
#endif
#ifndef ERROR_DEVICE_UNREACHABLE
#define ERROR_DEVICE_UNREACHABLE 321L
#endif
#ifndef ERROR_DEVICE_NO_RESOURCES
#define ERROR_DEVICE_NO_RESOURCES 322L
#endif
#ifndef ERROR_DATA_CHECKSUM_ERROR
#define ERROR_DATA_CHECKSUM_ERROR 323L
#endif
#ifndef ERROR_NO_SUCH_DEVICE
#define ERROR_NO_SUCH_DEVICE 433L
#endif
#ifndef ERROR_DEVICE_HARDWARE_ERROR
#define ERROR_DEVICE_HARDWARE_ERROR 483L
#endif
#ifndef ERROR_ELEVATION_REQUIRED
#define ERROR_ELEVATION_REQUIRED 740L
#endif
#ifndef ERROR_ACCESS_DISABLED_NO_SAFER_UI_BY_POLICY
#define ERROR_ACCESS_DISABLED_NO_SAFER_UI_BY_POLICY 786L
#endif
#ifndef ERROR_FILE_HANDLE_REVOKED
#define ERROR_FILE_HANDLE_REVOKED 806L
#endif
#ifndef ERROR_SMB_GUEST_LOGON_BLOCKED
#define ERROR_SMB_GUEST_LOGON_BLOCKED 1272L
#endif
#ifndef ERROR_DISK_QUOTA_EXCEEDED
#define ERROR_DISK_QUOTA_EXCEEDED 1295L
#endif
#ifndef ERROR_INVALID_IMAGE_HASH
#define ERROR_INVALID_IMAGE_HASH 577L
#endif
#ifndef ERROR_SYSTEM_INTEGRITY_POLICY_VIOLATION
#define ERROR_SYSTEM_INTEGRITY_POLICY_VIOLATION 4551L
#endif

namespace {

// Statuses that the SMB client hands on unchanged, as GetLastError gives them.
constexpr unsigned long kInvalidSignature = 0xC000A000;  // STATUS_INVALID_SIGNATURE
constexpr unsigned long kSmbStatusMask = 0xFFFF0000;
constexpr unsigned long kSmbStatuses = 0xC05D0000;       // FACILITY 0x5D, errors
constexpr unsigned long kWin32Hresults = 0x80070000;     // HRESULT_FROM_WIN32

int32_t Refused(unsigned long code) {
  switch (code) {
    case ERROR_ACCESS_DENIED: case ERROR_NETWORK_ACCESS_DENIED: case ERROR_EA_ACCESS_DENIED:
    case ERROR_FILE_ENCRYPTED: case ERROR_CANT_ACCESS_FILE: case ERROR_FORMS_AUTH_REQUIRED:
    case ERROR_BAD_FILE_TYPE: case ERROR_VIRUS_INFECTED: case ERROR_VIRUS_DELETED:
    case ERROR_ELEVATION_REQUIRED: case ERROR_ACCESS_DISABLED_BY_POLICY:
    case ERROR_ACCESS_DISABLED_NO_SAFER_UI_BY_POLICY: case ERROR_APPHELP_BLOCK:
    case ERROR_INVALID_IMAGE_HASH: case ERROR_SYSTEM_INTEGRITY_POLICY_VIOLATION:
      return errors::kPathFileAccess;
    default:
      return 0;
  }
}

int32_t SignInRefused(unsigned long code) {
  switch (code) {
    case ERROR_INVALID_PASSWORD: case ERROR_SESSION_CREDENTIAL_CONFLICT:
    case ERROR_LOGIN_TIME_RESTRICTION: case ERROR_LOGIN_WKSTA_RESTRICTION:
    case ERROR_NOT_AUTHENTICATED: case ERROR_NOT_LOGGED_ON: case ERROR_PKINIT_FAILURE:
    case ERROR_SMARTCARD_SUBSYSTEM_FAILURE: case ERROR_DOWNGRADE_DETECTED:
    case ERROR_SMB_GUEST_LOGON_BLOCKED: case ERROR_NO_LOGON_SERVERS:
    case ERROR_NO_SUCH_LOGON_SESSION: case ERROR_NO_SUCH_USER: case ERROR_WRONG_PASSWORD:
    case ERROR_LOGON_FAILURE: case ERROR_ACCOUNT_RESTRICTION: case ERROR_INVALID_LOGON_HOURS:
    case ERROR_INVALID_WORKSTATION: case ERROR_PASSWORD_EXPIRED: case ERROR_ACCOUNT_DISABLED:
    case ERROR_CANT_ACCESS_DOMAIN_INFO: case ERROR_NO_SUCH_DOMAIN: case ERROR_LOGON_NOT_GRANTED:
    case ERROR_LOGON_TYPE_NOT_GRANTED: case ERROR_WRONG_TARGET_NAME:
    case ERROR_MUTUAL_AUTH_FAILED: case ERROR_TIME_SKEW: case ERROR_NO_TRUST_LSA_SECRET:
    case ERROR_NO_TRUST_SAM_ACCOUNT: case ERROR_TRUSTED_DOMAIN_FAILURE:
    case ERROR_TRUSTED_RELATIONSHIP_FAILURE: case ERROR_TRUST_FAILURE:
    case ERROR_NETLOGON_NOT_STARTED: case ERROR_ACCOUNT_EXPIRED:
    case ERROR_NOLOGON_INTERDOMAIN_TRUST_ACCOUNT: case ERROR_NOLOGON_WORKSTATION_TRUST_ACCOUNT:
    case ERROR_NOLOGON_SERVER_TRUST_ACCOUNT: case ERROR_DOMAIN_TRUST_INCONSISTENT:
    case ERROR_PASSWORD_MUST_CHANGE: case ERROR_DOMAIN_CONTROLLER_NOT_FOUND:
    case ERROR_ACCOUNT_LOCKED_OUT: case ERROR_AUTHENTICATION_FIREWALL_FAILED:
    case kInvalidSignature:
      return errors::kPathFileAccess;
    default:
      return 0;
  }
}

int32_t UnusableName(unsigned long code) {
  switch (code) {
    case ERROR_INVALID_NAME: case ERROR_BAD_PATHNAME: case ERROR_FILENAME_EXCED_RANGE:
    case ERROR_CANT_RESOLVE_FILENAME: case ERROR_INVALID_COMPUTERNAME:
    case ERROR_INVALID_NETNAME: case ERROR_INVALID_SHARENAME:
    case ERROR_UNABLE_TO_REMOVE_REPLACED: case ERROR_UNABLE_TO_MOVE_REPLACEMENT:
    case ERROR_UNABLE_TO_MOVE_REPLACEMENT_2:
      return errors::kPathFileAccess;
    default:
      return 0;
  }
}

int32_t Held(unsigned long code) {
  switch (code) {
    case ERROR_SHARING_VIOLATION: case ERROR_LOCK_VIOLATION: case ERROR_SHARING_BUFFER_EXCEEDED:
    case ERROR_DELETE_PENDING: case ERROR_USER_MAPPED_FILE: case ERROR_FILE_CHECKED_OUT:
    case ERROR_CHECKOUT_REQUIRED: case ERROR_BUSY: case ERROR_PATH_BUSY: case ERROR_DRIVE_LOCKED:
    case ERROR_WRITE_PROTECT: case ERROR_FILE_READ_ONLY:
      return errors::kPermissionDenied;
    default:
      return 0;
  }
}

int32_t DeviceUnavailable(unsigned long code) {
  if ((code & kSmbStatusMask) == kSmbStatuses) return errors::kDeviceUnavailable;
  switch (code) {
    // The drive itself.
    case ERROR_INVALID_DRIVE: case ERROR_BAD_UNIT: case ERROR_NOT_READY:
    case ERROR_NO_MEDIA_IN_DRIVE: case ERROR_MEDIA_CHANGED: case ERROR_DEVICE_NOT_CONNECTED:
    case ERROR_NO_SUCH_DEVICE: case ERROR_DEVICE_UNREACHABLE: case ERROR_DEVICE_NO_RESOURCES:
    case ERROR_DEVICE_NOT_AVAILABLE:
    // The redirector's block.
    case ERROR_REM_NOT_LIST: case ERROR_DUP_NAME: case ERROR_BAD_NETPATH:
    case ERROR_NETWORK_BUSY: case ERROR_DEV_NOT_EXIST: case ERROR_TOO_MANY_CMDS:
    case ERROR_ADAP_HDW_ERR: case ERROR_BAD_NET_RESP: case ERROR_UNEXP_NET_ERR:
    case ERROR_BAD_REM_ADAP: case ERROR_NETNAME_DELETED: case ERROR_BAD_DEV_TYPE:
    case ERROR_BAD_NET_NAME: case ERROR_TOO_MANY_NAMES: case ERROR_TOO_MANY_SESS:
    case ERROR_SHARING_PAUSED: case ERROR_REQ_NOT_ACCEP: case ERROR_REDIR_PAUSED:
    case ERROR_SEM_TIMEOUT: case ERROR_VC_DISCONNECTED: case ERROR_NOT_ENOUGH_SERVER_MEMORY:
    case ERROR_TIMEOUT: case ERROR_FILE_HANDLE_REVOKED: case ERROR_LICENSE_QUOTA_EXCEEDED:
    // Connections, WNet and the transports.
    case ERROR_BAD_DEVICE: case ERROR_CONNECTION_UNAVAIL: case ERROR_NO_NET_OR_BAD_PATH:
    case ERROR_BAD_PROVIDER: case ERROR_REMOTE_SESSION_LIMIT_EXCEEDED: case ERROR_NO_NETWORK:
    case ERROR_CONNECTION_REFUSED: case ERROR_GRACEFUL_DISCONNECT:
    case ERROR_ADDRESS_NOT_ASSOCIATED: case ERROR_CONNECTION_INVALID:
    case ERROR_NETWORK_UNREACHABLE: case ERROR_HOST_UNREACHABLE: case ERROR_PROTOCOL_UNREACHABLE:
    case ERROR_PORT_UNREACHABLE: case ERROR_REQUEST_ABORTED: case ERROR_CONNECTION_ABORTED:
    case ERROR_RETRY: case ERROR_CONNECTION_COUNT_LIMIT: case ERROR_SERVER_SHUTDOWN_IN_PROGRESS:
    case ERROR_HOST_DOWN: case ERROR_NOT_CONNECTED:
    // Offline Files and remote storage.
    case ERROR_CSCSHARE_OFFLINE: case ERROR_FILE_OFFLINE: case ERROR_REMOTE_STORAGE_NOT_ACTIVE:
      return errors::kDeviceUnavailable;
    default:
      return 0;
  }
}

int32_t DeviceIo(unsigned long code) {
  switch (code) {
    case ERROR_CRC: case ERROR_SEEK: case ERROR_NOT_DOS_DISK: case ERROR_SECTOR_NOT_FOUND:
    case ERROR_WRITE_FAULT: case ERROR_READ_FAULT: case ERROR_GEN_FAILURE: case ERROR_WRONG_DISK:
    case ERROR_NET_WRITE_FAULT: case ERROR_IO_DEVICE: case ERROR_DEVICE_HARDWARE_ERROR:
    case ERROR_DATA_CHECKSUM_ERROR: case ERROR_FILE_INVALID: case ERROR_UNRECOGNIZED_VOLUME:
    case ERROR_DISK_OPERATION_FAILED: case ERROR_FILE_CORRUPT: case ERROR_DISK_CORRUPT:
    case ERROR_REMOTE_STORAGE_MEDIA_ERROR: case ERROR_MR_MID_NOT_FOUND:
      return errors::kDeviceIo;
    default:
      return 0;
  }
}

// The numbers outside the file-access class that have a meaning of their own.
int32_t Other(unsigned long code) {
  switch (code) {
    case ERROR_HANDLE_EOF: return errors::kInputPastEnd;
    case ERROR_DISK_FULL: case ERROR_HANDLE_DISK_FULL: case ERROR_DISK_QUOTA_EXCEEDED:
      return errors::kDiskFull;
    case ERROR_TOO_MANY_OPEN_FILES: return errors::kTooManyFiles;
    case ERROR_NOT_ENOUGH_MEMORY: case ERROR_OUTOFMEMORY: return errors::kOutOfMemory;
    case ERROR_FILE_EXISTS: case ERROR_ALREADY_EXISTS: return errors::kFileExists;
    default: return 0;
  }
}

}  // namespace

int32_t ErrorNumberFromWin32(unsigned long code) {
  if ((code & 0xFFFF0000) == kWin32Hresults) code &= 0xFFFF;
  if (code == ERROR_FILE_NOT_FOUND) return errors::kFileNotFound;
  if (code == ERROR_PATH_NOT_FOUND || code == ERROR_DIRECTORY) return errors::kPathNotFound;
  for (auto family : {Refused, SignInRefused, UnusableName, Held, DeviceUnavailable, DeviceIo,
                      Other}) {
    if (int32_t number = family(code)) return number;
  }
  return errors::kInternal;
}
