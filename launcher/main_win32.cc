// Internet.exe: the pupil starts it instead of the browser.
#include <windows.h>

#include "common/error.h"
#include "common/platform_win32.h"
#include "common/reports.h"
#include "common/system_library_win32.h"
#include "launcher/agreement_form.h"
#include "launcher/launcher.h"
#include "launcher/shell_win32.h"
#include "window/form_win32.h"

namespace {
constexpr const wchar_t* kProgramName = L"Internet";
}

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  SearchStandardFoldersInTheWindowsFolder();
  Win32Platform platform;
  try {
    Form form(instance, AgreementForm());
    Win32Shell shell;
    Launcher launcher(platform, form, shell);
    form.OnUnhandledError(
        [&](int32_t number) { ReportUnhandledError(platform, kProgramName, number); });
    form.OnClick(kOption1, [&] { launcher.AcceptanceSelected(); });
    form.OnClick(kCommand1, [&] { launcher.Connect(); });
    form.OnClick(kCommand2, [&] { launcher.DontUnderstand(); });
    return form.Run([&] { launcher.StartUp(); });
  } catch (const std::exception&) {
    ReportUnhandledError(platform, kProgramName, CaughtErrorNumber());
  }
}
