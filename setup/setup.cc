#include "setup/setup.h"

#include "common/blanks.h"
#include "common/error.h"
#include "common/program_folder.h"
#include "common/reports.h"
#include "common/texts.h"
#include "setup/installation.h"
#include "setup/server_path.h"
#include "setup/settings_save.h"
#include "setup/setup_form.h"

namespace {

constexpr const wchar_t* kNoWriteAccess =
    L"Because you do not have write access to the server path using the currently logged in "
    L"user, you will not be able to save any setup changes.";
constexpr const wchar_t* kNoticeTitle = L"Kelbry's Browser Launcher - Please Note:";

bool IsUnattended(const std::wstring& command_line) {
  return TrimBlanks(ToUpper(command_line)) == L"/A";
}

// The server folder or the settings file cannot be written.
bool IsWriteAccessError(int32_t number) {
  return number == errors::kDeviceIo || number == errors::kDeviceUnavailable ||
         number == errors::kPermissionDenied || number == errors::kPathFileAccess;
}

}  // namespace

void Setup::StartUp() {
  unattended_ = IsUnattended(platform_.CommandLineText());
  try {
    std::wstring folder = platform_.ProgramFolder();
    program_folder_ = WithTrailingBackslash(folder);
    ShowTextsAndPreview(LoadServerSettings());
    window_.SetText(kText4, ServerPath(folder, resolve_drive_));
    windows_folder_ = TrimBlanks(platform_.EnvironmentValue(L"WINDIR"));
    window_.Show();
  } catch (const std::exception&) {
    ReportFatalError(platform_, texts::kSetupClosing, CaughtErrorNumber());
  }
  if (unattended_) Install();
}

// True when the editors show the server file's settings. Errors other than a
// missing file or missing write access go on to the fatal error report.
bool Setup::LoadServerSettings() {
  try {
    return LoadProbingWriteAccess();
  } catch (const std::exception&) {
    int32_t number = CaughtErrorNumber();
    if (number == errors::kFileNotFound) return false;
    if (IsWriteAccessError(number)) return LoadWithoutWriteAccess();
    throw;
  }
}

// Opening the file for writing is the probe: it fails when the folder or the
// file cannot be written. A file without settings is removed, including the
// empty one that the open creates where there was none.
bool Setup::LoadProbingWriteAccess() {
  if (ShowSettingsFrom(*platform_.Open(SettingsPath(), OpenMode::kReadWrite))) return true;
  platform_.Delete(SettingsPath());
  return false;
}

bool Setup::LoadWithoutWriteAccess() {
  window_.SetEnabled(kCommand6, false);
  if (!unattended_) {
    platform_.ShowMessage(kNoWriteAccess, kNoticeTitle, MessageIcon::kInformation);
  }
  try {
    return ShowSettingsFrom(*platform_.Open(SettingsPath(), OpenMode::kRead));
  } catch (const std::exception&) {
    // The notice has been given; a file that cannot be read either leaves the
    // built-in texts.
    int32_t number = CaughtErrorNumber();
    if (number == errors::kFileNotFound || IsWriteAccessError(number)) return false;
    throw;
  }
}

// Each record goes into its editor as soon as it is read. Record 4 is not
// read: the server path is always derived afresh.
bool Setup::ShowSettingsFrom(File& file) {
  if (!HoldsSettings(file)) return false;
  window_.SetText(kText2, RightTrimBlanks(ReadRecord(file, Record::kMessage)));
  window_.SetText(kText3, RightTrimBlanks(ReadRecord(file, Record::kPrompt)));
  window_.SetText(kText5, RightTrimBlanks(ReadRecord(file, Record::kStartPage)));
  return true;
}

// Without settings the start page stays empty.
void Setup::ShowTextsAndPreview(bool settings_loaded) {
  if (!settings_loaded) window_.SetText(kText2, texts::kBuiltInMessage);
  window_.SetText(kText1, window_.Text(kText2));
  if (!settings_loaded) window_.SetText(kText3, texts::kBuiltInPrompt);
  window_.SetText(kOption1, window_.Text(kText3));
}

void Setup::UpdatePreview() {
  window_.SetText(kText1, window_.Text(kText2));
  window_.Repaint(kText1);
  window_.SetText(kOption1, window_.Text(kText3));
  window_.Repaint(kOption1);
}

void Setup::ResetDefaults() {
  window_.SetText(kText2, texts::kBuiltInMessage);
  window_.SetText(kText1, window_.Text(kText2));
  window_.SetText(kText3, texts::kBuiltInPrompt);
  window_.SetText(kText5, L"");
  window_.SetText(kOption1, texts::kBuiltInPrompt);
  for (ControlId id : {kText1, kText2, kText3, kText5, kOption1}) window_.Repaint(id);
}

void Setup::SaveSettings() {
  SaveFileSafely(platform_, SettingsPath(), EncodeSettings(SettingsInWindow()));
  platform_.ShowMessage(L"New Settings Saved.", L"Done", MessageIcon::kInformation);
}

void Setup::Quit() { platform_.EndProgram(); }

void Setup::Install() {
  InstallLauncher(platform_, window_, script_host_, {program_folder_, windows_folder_, unattended_},
                  SettingsInWindow());
}

LauncherSettings Setup::SettingsInWindow() {
  return {window_.Text(kText2), window_.Text(kText3), window_.Text(kText5), window_.Text(kText4)};
}

std::wstring Setup::SettingsPath() const { return program_folder_ + texts::kSettingsFileName; }
