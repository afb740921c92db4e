// The server path: where the installed Launchers look for the access switch.
#pragma once

#include <string>

#include "setup/network_drive.h"

inline constexpr const wchar_t* kNotAvailable = L"*Not Available*";

// The UNC form of `folder` (setup's folder as the platform reports it) with
// one trailing backslash. A folder on a drive letter goes through the share
// that the letter is connected to; for a drive that is no network connection
// the path is "*Not Available*".
std::wstring ServerPath(const std::wstring& folder, const DriveResolver& resolve_drive);
