// Saving the server-wide settings file without ever leaving it half written.
#pragma once

#include <string>
#include <string_view>

#include "common/platform.h"

// Puts `bytes` in place of the file at `path`: written in full to a
// temporary file beside it, which then replaces the file, keeping its
// identity and permissions. Where the temporary file cannot be made or cannot
// replace the file (a folder that takes no new file, a file that may be
// written but not replaced, or whose permissions this user may not carry over
// to a new file), the file is overwritten in place with one write, which keeps
// its permissions; not where the share or its connection is failing (68, 57),
// as that write could stop half way. A failure throws RunTimeError; until the
// replacement the file is untouched.
void SaveFileSafely(Platform& platform, const std::wstring& path, std::string_view bytes);
