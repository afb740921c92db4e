#include "launcher/launcher.h"

#include "common/blanks.h"
#include "common/error.h"
#include "common/program_folder.h"
#include "common/reports.h"
#include "common/settings_file.h"
#include "common/switch_file.h"
#include "common/texts.h"
#include "launcher/agreement_form.h"

void Launcher::StartUp() {
  window_.SetSelected(kOption1, false);
  // Once all four records are read the file's texts stay, even when showing
  // the window fails afterwards. A switch that cannot be read is no failure
  // here: AccessStopped lets the pupil in and leaves its warning.
  bool records_read = false;
  if (Handled([&] {
        records_read = ApplySettings(WithTrailingBackslash(platform_.ProgramFolder()));
        if (records_read && AccessStopped()) Refuse();
        ShowAgreement(records_read);
      })) {
    return;
  }
  // A file that cannot be used, or a window that could not be fully shown for
  // one, leads here. Should the agreement fail that way again, that would only
  // repeat itself: the window is left as far as it got.
  Handled([&] { ShowAgreement(records_read); });
}

bool Launcher::Handled(const std::function<void()>& steps) {
  try {
    steps();
    return true;
  } catch (const std::exception&) {
    int32_t number = CaughtErrorNumber();
    if (!IsFileAccessError(number)) ReportFatalError(platform_, texts::kLauncherClosing, number);
    return false;
  }
}

// Each record is used as soon as it is read: a failure part way keeps the
// start page of a record already read, while the texts fall back to the
// built-in ones.
bool Launcher::ApplySettings(const std::wstring& program_folder) {
  auto file = platform_.Open(program_folder + texts::kSettingsFileName, OpenMode::kRead);
  if (!HoldsSettings(*file)) return false;
  window_.SetText(kText1, RightTrimBlanks(ReadRecord(*file, Record::kMessage)));
  window_.SetText(kOption1, RightTrimBlanks(ReadRecord(*file, Record::kPrompt)));
  start_page_ = TrimBlanks(ReadRecord(*file, Record::kStartPage));
  server_path_ = TrimBlanks(ReadRecord(*file, Record::kServerPath));
  return true;
}

// The switch doing its work is no failure: nothing is recorded.
void Launcher::Refuse() {
  ReportAndEnd(platform_,
               {L"Internet Access is currently unavailable.", L"Sorry", MessageIcon::kExclamation});
}

void Launcher::ShowAgreement(bool records_read) {
  if (!records_read) {
    window_.SetText(kText1, texts::kBuiltInMessage);
    window_.SetText(kOption1, texts::kBuiltInPrompt);
  }
  window_.Show();
}

// Only a UNC server path is consulted; the file name is appended as it is, so
// the path must end in a backslash. A switch that cannot be read (missing or
// empty included) lets the pupil in, and leaves a warning: where that happens
// on every PC of a room, a press of STOP stops nobody there.
bool Launcher::AccessStopped() const {
  if (!server_path_.starts_with(L"\\\\")) return false;
  const std::wstring path = server_path_ + texts::kSwitchFileName;
  try {
    return ReadSwitchFirstLine(platform_, path) == AccessSwitch::kStopped;
  } catch (const RunTimeError& error) {
    if (!IsFileAccessError(error.number())) throw;
    RecordLetIn(platform_, path, error.number());
    return false;
  }
}

void Launcher::AcceptanceSelected() {
  window_.SetEnabled(kCommand1, true);
  window_.Repaint(kCommand1);
}

void Launcher::Connect() {
  if (start_page_.empty()) start_page_ = kDefaultStartPage;
  OpenDocument(shell_, platform_, L"Open", start_page_, std::nullopt, std::nullopt, 1);
  platform_.EndProgram();
}

void Launcher::DontUnderstand() { platform_.EndProgram(); }
