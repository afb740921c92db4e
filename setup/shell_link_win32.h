// The desktop shortcut through the shell's own link object, where the Windows
// Script Host's object model is not there: the desktop folder, the shortcut's
// properties and its file are those that the script host's shell gives.
#pragma once

#include <memory>

#include "setup/script_host_win32.h"

// A shell that knows the special folders "Desktop" and "AllUsersDesktop" and
// makes shortcuts whose properties are TargetPath, Description, Arguments,
// WorkingDirectory and WindowStyle, as the script host's do. COM must be
// running on this thread.
std::unique_ptr<ScriptShell> CreateShellLinkShell(CreateInstance create);
