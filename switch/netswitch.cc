#include "switch/netswitch.h"

#include "common/error.h"
#include "common/program_folder.h"
#include "common/reports.h"
#include "common/texts.h"
#include "switch/switch_form.h"

void NetSwitch::StartUp() {
  try {
    program_folder_ = WithTrailingBackslash(platform_.ProgramFolder());
    // The read-write open is the write-access probe: it fails where the user
    // may not write, and creates the file where it is missing.
    ShowState(ReadSwitchFirstByte(*platform_.Open(SwitchPath(), OpenMode::kReadWrite)));
    window_.Show();
  } catch (const std::exception&) {
    int32_t number = CaughtErrorNumber();
    if (!IsFileAccessError(number)) ReportFatalError(platform_, texts::kLauncherClosing, number);
    // Ends with the number of the refused access, as after every other report.
    ReportFailureAndEnd(
        platform_, events::kNoWriteAccess,
        {L"You need to have write access to this server path in order to use this utility.",
         L"Sorry!", MessageIcon::kExclamation},
        number);
  }
}

// The label follows the button pressed; the file is not read back.
void NetSwitch::Write(AccessSwitch state) {
  WriteSwitch(platform_, SwitchPath(), state);
  ShowState(state);
  window_.Repaint(kLabel2);
}

void NetSwitch::ShowState(AccessSwitch state) {
  window_.SetText(kLabel2, state == AccessSwitch::kStopped ? L"STOPPED" : L"RUNNING");
}

std::wstring NetSwitch::SwitchPath() const { return program_folder_ + texts::kSwitchFileName; }
