// The run-time error number for a failure that a Win32 file, folder or
// process function reported.
#pragma once

#include <cstdint>

// Every code that CreateFileW, ReadFile, WriteFile, GetFileSizeEx, CopyFileW,
// DeleteFileW, ReplaceFileW and CreateProcessW return for a local disk, a
// mapped drive or a UNC path belongs to one family; error_number_win32.cc
// lists each family's codes. The start-up routines survive 53, 57, 62, 68, 70,
// 75 and 76, the numbers of a file or folder that cannot be used, so every
// way a server share fails must land on one of them; a failure of the program
// or of this computer keeps a number outside, which reaches a report.
//
// family                  what it means, and why it lands there          number
// missing file            ERROR_FILE_NOT_FOUND                               53
// missing folder          ERROR_PATH_NOT_FOUND, ERROR_DIRECTORY              76
// refused                 the user may not use the file: denied by its       75
//                         permissions or the share's (ERROR_ACCESS_DENIED,
//                         ERROR_NETWORK_ACCESS_DENIED), by encryption, by
//                         the virus scanner, by a policy or a missing
//                         elevation (for a program), by application control
//                         (AppLocker, App Control for Business, Smart App
//                         Control: 1260, 786, 577, 4551)
// sign-in refused         the server does not let this user in: a wrong,     75
//                         expired or conflicting password or account
//                         (ERROR_LOGON_FAILURE and its neighbours 1317-1331,
//                         1385, 1909, 1219, 86), guest logons blocked
//                         (ERROR_SMB_GUEST_LOGON_BLOCKED), no domain
//                         controller or a broken trust (1311, 1786-1810),
//                         Kerberos refusing (clock skew, wrong target,
//                         downgrade, smart card), a signature the server
//                         requires (STATUS_INVALID_SIGNATURE as it is). To
//                         the program it is a refused access like any other
// unusable name           not a path at all: ERROR_INVALID_NAME,             75
//                         ERROR_BAD_PATHNAME, too long, an invalid server
//                         or share name
// not replaced            ReplaceFileW could not put the new file in the     75
//                         old one's place (1175-1177)
// held                    another program or a lock holds the file, a        70
//                         delete is pending, a check-out is needed, or the
//                         file or medium is read-only (ERROR_SHARING_VIOLATION,
//                         ERROR_LOCK_VIOLATION, ERROR_WRITE_PROTECT)
// device unavailable      the drive, server, share, session or connection    68
//                         cannot be used: not ready or not connected, the
//                         redirector's block 51-72 (no such server or share,
//                         busy, name deleted, paused, too many names,
//                         sessions or connections, the request refused),
//                         time-outs (121, 1460), the cancelled session (240),
//                         the WNet and transport range 1200-1256 (no
//                         network, refused, aborted or reset connections,
//                         unreachable hosts, a server shutting down),
//                         Offline Files (1262, 4350), a handle the server
//                         revoked, the SMB client's own statuses passed on
//                         as they are (0xC05Dxxxx: nothing in common to
//                         negotiate), ERROR_NOT_CONNECTED (2250)
// device I/O error        the device or the network failed in the middle     57
//                         of a read or a write, or the data came back
//                         damaged (ERROR_GEN_FAILURE, ERROR_NET_WRITE_FAULT,
//                         ERROR_IO_DEVICE, checksum errors); a status of the
//                         file system that has no Win32 code
//                         (ERROR_MR_MID_NOT_FOUND)
// end of file             ERROR_HANDLE_EOF                                   62
// no room                 the disk or the user's quota is full               61
// too many files          this process has too many files open               67
// memory                  ERROR_NOT_ENOUGH_MEMORY, ERROR_OUTOFMEMORY          7
// already there           ERROR_FILE_EXISTS, ERROR_ALREADY_EXISTS            58
// anything else           a failure of this program or this computer, not    51
//                         of a file, folder, share or network
//                         (ERROR_INVALID_PARAMETER, ERROR_NO_SYSTEM_RESOURCES,
//                         ERROR_BAD_EXE_FORMAT, ERROR_OPERATION_ABORTED)
//
// A Win32 code wrapped as an HRESULT (0x8007xxxx) lands where the code does.
int32_t ErrorNumberFromWin32(unsigned long code);
