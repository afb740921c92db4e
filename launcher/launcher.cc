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
  // Once the settings' texts are in the window they stay, even when reading
  // the access switch fails afterwards.
  bool texts_loaded = false;
  try {
    texts_loaded = ApplySettings(WithTrailingBackslash(platform_.ProgramFolder()));
    if (texts_loaded && AccessStopped()) {
      platform_.ShowMessage(L"Internet Access is currently unavailable.", L"Sorry",
                            MessageIcon::kExclamation);
      platform_.EndProgram();
    }
  } catch (const std::exception&) {
    int32_t number = CaughtErrorNumber();
    if (!IsFileAccessError(number)) ReportFatalError(platform_, texts::kLauncherClosing, number);
  }
  if (!texts_loaded) {
    window_.SetText(kText1, texts::kBuiltInMessage);
    window_.SetText(kOption1, texts::kBuiltInPrompt);
  }
  window_.Show();
}

bool Launcher::ApplySettings(const std::wstring& program_folder) {
  auto settings = ReadSettings(*platform_.Open(program_folder + texts::kSettingsFileName,
                                               OpenMode::kRead));
  if (!settings) return false;
  window_.SetText(kText1, RightTrimBlanks(settings->message));
  window_.SetText(kOption1, RightTrimBlanks(settings->prompt));
  start_page_ = TrimBlanks(settings->start_page);
  server_path_ = TrimBlanks(settings->server_path);
  return true;
}

// Only a UNC server path is consulted; the file name is appended as it is, so
// the path must end in a backslash.
bool Launcher::AccessStopped() const {
  return server_path_.starts_with(L"\\\\") &&
         ReadSwitchFirstLine(platform_, server_path_ + texts::kSwitchFileName) ==
             AccessSwitch::kStopped;
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
