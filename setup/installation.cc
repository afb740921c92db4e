#include "setup/installation.h"

#include "common/error.h"
#include "common/reports.h"
#include "common/texts.h"

namespace {

constexpr const wchar_t* kLauncherFile = L"Internet.exe";
constexpr const wchar_t* kUpdateInstaller = L"scr56en.exe";
constexpr int kNormalWindow = 1;
constexpr int32_t kShortcutWindowStyle = 0;

constexpr const wchar_t* kIncomplete =
    L"It appears this installation of the Launcher is incomplete.  You should probably download "
    L"a new version from Kelbry's Website and try again.";
constexpr const wchar_t* kUpdateNeeded =
    L"This computer requires an update of the Windows Scripting Host.  This will start "
    L"automatically when you click the OK button.  After the PC reboots, you will need to run "
    L"the Launcher Setup again.";
constexpr const wchar_t* kComplete =
    L"Installation Complete.  There should be a new shortcut for Internet Explorer on your "
    L"Desktop.  You should now delete all other Internet Explorer icons.";

// A fresh file, whatever was there before: the first open makes sure there is
// a file to delete.
void WriteFreshSettings(Platform& platform, const std::wstring& path,
                        const LauncherSettings& settings) {
  platform.Open(path, OpenMode::kReadWrite);
  platform.Delete(path);
  WriteSettings(*platform.Open(path, OpenMode::kReadWrite), settings);
}

// The Launcher copied from a server folder that was unpacked from a download
// carries the download mark, and Windows would then ask before every start,
// which a pupil can neither answer for nor clear in the Windows folder. setup
// vouches for what it installs. A mark that cannot be removed leaves a
// complete installation of a Launcher that works: it does not stop setup.
void RemoveDownloadMark(Platform& platform, const std::wstring& launcher) {
  try {
    platform.RemoveDownloadMark(launcher);
  } catch (const RunTimeError&) {
  }
}

// The shell answers the empty text for a desktop folder that it cannot find,
// and a profile may name a Desktop that does not exist (redirected or backed
// up, and not made yet). Both are a path not found, raised before anything is
// saved: from the empty text the shortcut would land at the root of the
// current drive, and the installation would say that it is complete.
void CheckDesktopFolder(Platform& platform, const std::wstring& desktop) {
  if (desktop.empty() || !platform.FolderExists(desktop)) {
    throw RunTimeError(errors::kPathNotFound);
  }
}

// LocalSystem's own desktop belongs to a profile to which no one signs in:
// installed as that account, as deployment tools install, the shortcut goes
// to the desktop that every user of the PC sees.
void CreateDesktopShortcut(Platform& platform, ScriptHost& script_host,
                           const std::wstring& windows_folder) {
  std::unique_ptr<ScriptShell> shell = script_host.CreateShell();
  std::wstring desktop =
      shell->SpecialFolder(platform.RunsAsLocalSystem() ? L"AllUsersDesktop" : L"Desktop");
  CheckDesktopFolder(platform, desktop);
  std::unique_ptr<ScriptShortcut> shortcut =
      shell->CreateShortcut(desktop + L"\\Internet Explorer.lnk");
  shortcut->SetText(L"TargetPath", windows_folder + L"\\" + kLauncherFile);
  shortcut->SetText(L"Description", L"Application");
  shortcut->SetText(L"Arguments", L"");
  shortcut->SetText(L"WorkingDirectory", windows_folder);
  shortcut->SetNumber(L"WindowStyle", kShortcutWindowStyle);
  shortcut->Save();
}

// The number of the error reported is the exit code, as after the fatal error
// report: a deployment tool learns what the administrator would have read.
[[noreturn]] void ReportIncomplete(Platform& platform) {
  ReportFailureAndEnd(platform, events::kIncomplete,
                      {kIncomplete, L"Problem!", MessageIcon::kCritical}, errors::kFileNotFound);
}

// The update installer runs on by itself; setup ends at once. When it is
// missing the installation is incomplete, and that is said once.
[[noreturn]] void StartUpdateInstaller(Platform& platform, const std::wstring& program_folder) {
  try {
    // Quoted: a folder with blanks must not be taken for a shorter program name.
    platform.Start(L"\"" + program_folder + kUpdateInstaller + L"\"", kNormalWindow);
  } catch (const std::exception&) {
    int32_t number = CaughtErrorNumber();
    if (number != errors::kFileNotFound) {
      ReportFatalError(platform, texts::kSetupClosing, number);
    }
    ReportIncomplete(platform);
  }
  platform.EndProgram(errors::kNoSuchInterface);
}

[[noreturn]] void ReportInstallationFailure(Platform& platform, const std::wstring& program_folder,
                                            int32_t number) {
  switch (number) {
    case errors::kFileNotFound:
      ReportIncomplete(platform);
    case errors::kNoSuchInterface:
      // What was installed stays; only the shortcut is missing.
      ReportFailure(platform, events::kUpdateStarted,
                    {kUpdateNeeded, L"Problem!", MessageIcon::kCritical}, number);
      StartUpdateInstaller(platform, program_folder);
    default:
      ReportFatalError(platform, texts::kSetupClosing, number);
  }
}

}  // namespace

void InstallLauncher(Platform& platform, Window& window, ScriptHost& script_host,
                     const Workstation& workstation, const LauncherSettings& settings) {
  const std::wstring& windows_folder = workstation.windows_folder;
  try {
    const std::wstring launcher = windows_folder + L"\\" + kLauncherFile;
    platform.Copy(workstation.program_folder + kLauncherFile, launcher);
    RemoveDownloadMark(platform, launcher);
    WriteFreshSettings(platform, windows_folder + L"\\" + texts::kSettingsFileName, settings);
    // Left on: every way out of here ends the program.
    window.ShowBusyPointer();
    CreateDesktopShortcut(platform, script_host, windows_folder);
  } catch (const std::exception&) {
    ReportInstallationFailure(platform, workstation.program_folder, CaughtErrorNumber());
  }
  if (workstation.unattended) platform.EndProgram();
  ReportAndEnd(platform, {kComplete, L"Done", MessageIcon::kInformation});
}
