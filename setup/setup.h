// setup's routines: start-up before its window shows, the settings actions of
// its buttons, and the installation of the Launcher on this workstation.
#pragma once

#include <string>
#include <utility>

#include "common/platform.h"
#include "common/settings_file.h"
#include "setup/network_drive.h"
#include "setup/script_host.h"
#include "window/window.h"

class Setup {
 public:
  Setup(Platform& platform, Window& window, ScriptHost& script_host, DriveResolver resolve_drive)
      : platform_(platform),
        window_(window),
        script_host_(script_host),
        resolve_drive_(std::move(resolve_drive)) {}

  // Loads the server-wide settings into the editors and the preview, turns
  // saving off when the server folder cannot be written, derives the server
  // path and shows the window. Started with "/A", then installs at once.
  void StartUp();
  // Shows the edited message and prompt in the preview.
  void UpdatePreview();
  // Puts the built-in texts back and empties the start page, on screen only.
  void ResetDefaults();
  // Stores the edited settings as the server-wide Internet.cfg. A failure
  // throws RunTimeError and leaves the previous file as it was.
  void SaveSettings();
  [[noreturn]] void Quit();
  // Installs the Launcher with the edited settings, then ends the program.
  [[noreturn]] void Install();

 private:
  bool LoadServerSettings();
  bool LoadProbingWriteAccess();
  bool LoadWithoutWriteAccess();
  bool ShowSettingsFrom(File& file);
  void ShowTextsAndPreview(bool settings_loaded);
  LauncherSettings SettingsInWindow();
  std::wstring SettingsPath() const;

  Platform& platform_;
  Window& window_;
  ScriptHost& script_host_;
  DriveResolver resolve_drive_;
  std::wstring program_folder_;  // ends in a backslash
  std::wstring windows_folder_;
  bool unattended_ = false;
};
