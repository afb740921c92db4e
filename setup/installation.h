// Installing the Launcher on this workstation: the program and its settings
// into the Windows folder, and a shortcut to it on the user's desktop.
#pragma once

#include <string>

#include "common/platform.h"
#include "common/settings_file.h"
#include "setup/script_host.h"
#include "window/window.h"

struct Workstation {
  std::wstring program_folder;  // setup's folder, ending in a backslash
  std::wstring windows_folder;  // without a trailing backslash
  bool unattended = false;      // no completion message
};

// Copies Internet.exe from setup's folder, writes a fresh Internet.cfg from
// `settings` beside it and puts the "Internet Explorer" shortcut on the
// desktop (the Public desktop, for all users, when it runs as LocalSystem);
// then ends the program, whatever happened. A missing Internet.exe
// and an object model too old for the shortcut get messages of their own
// (after the latter the update installer is started); any other error the
// fatal error report, a desktop folder that cannot be found among them (76,
// with the Launcher and its settings installed and no shortcut anywhere).
[[noreturn]] void InstallLauncher(Platform& platform, Window& window, ScriptHost& script_host,
                                  const Workstation& workstation, const LauncherSettings& settings);
