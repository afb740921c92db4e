// netswitch.exe: a teacher stops and restarts the pupils' Internet access.
#include <windows.h>

#include "common/error.h"
#include "common/platform_win32.h"
#include "common/reports.h"
#include "common/system_library_win32.h"
#include "switch/netswitch.h"
#include "switch/switch_form.h"
#include "window/form_win32.h"

namespace {
constexpr const wchar_t* kProgramName = L"netswitch";
}

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  SearchSystemFolderOnly();
  Win32Platform platform;
  try {
    Form form(instance, SwitchForm());
    NetSwitch netswitch(platform, form);
    form.OnUnhandledError(
        [&](int32_t number) { ReportUnhandledError(platform, kProgramName, number); });
    form.OnClick(kCommand1, [&] { netswitch.Quit(); });
    form.OnClick(kCommand2, [&] { netswitch.Stop(); });
    form.OnClick(kCommand3, [&] { netswitch.Restart(); });
    return form.Run([&] { netswitch.StartUp(); });
  } catch (const std::exception&) {
    ReportUnhandledError(platform, kProgramName, CaughtErrorNumber());
  }
}
