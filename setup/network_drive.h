// The UNC name of the network share behind a drive letter.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

// The platform's lookup, shaped like WNetGetConnectionA: for a local device
// connected to a share it writes the share's UNC name and a NUL into
// `remote_name`, a buffer of `*length` bytes, leaves the bytes after the NUL
// alone, and returns 0; otherwise it returns a nonzero code. It throws
// RunTimeError when it cannot be made at all.
using ConnectionLookup =
    std::function<int32_t(const char* local_name, char* remote_name, uint32_t* length)>;

// Status 0 and `remote` the share's name (\\server\share) when `drive` (G:)
// is connected to a share. Otherwise the lookup's nonzero code and `remote`
// the drive with a backslash (C:\), or 50 and the drive itself when the
// lookup failed. Never throws.
int32_t ResolveNetworkDrive(std::wstring drive, std::wstring& remote,
                            const ConnectionLookup& lookup);

// ResolveNetworkDrive with the platform's lookup bound, as setup's start-up
// calls it.
using DriveResolver = std::function<int32_t(const std::wstring& drive, std::wstring& remote)>;
