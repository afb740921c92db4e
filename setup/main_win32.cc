// setup.exe: run from the server folder to edit the server-wide settings and
// to install the Launcher on a workstation.
#include <windows.h>

#include "common/error.h"
#include "common/platform_win32.h"
#include "common/reports.h"
#include "common/system_library_win32.h"
#include "setup/network_drive_win32.h"
#include "setup/script_host_win32.h"
#include "setup/setup.h"
#include "setup/setup_form.h"
#include "window/form_win32.h"

namespace {
constexpr const wchar_t* kProgramName = L"setup";
}

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  SearchSystemFolderOnly();
  Win32Platform platform;
  try {
    Form form(instance, SetupForm());
    Win32ScriptHost script_host;
    Setup setup(platform, form, script_host, [](const std::wstring& drive, std::wstring& remote) {
      return ResolveNetworkDrive(drive, remote, GetConnectionFromMpr);
    });
    form.OnUnhandledError(
        [&](int32_t number) { ReportUnhandledError(platform, kProgramName, number); });
    form.OnClick(kCommand3, [&] { setup.UpdatePreview(); });
    form.OnClick(kCommand4, [&] { setup.ResetDefaults(); });
    form.OnClick(kCommand5, [&] { setup.Install(); });
    form.OnClick(kCommand6, [&] { setup.SaveSettings(); });
    form.OnClick(kCommand7, [&] { setup.Quit(); });
    return form.Run([&] { setup.StartUp(); });
  } catch (const std::exception&) {
    ReportUnhandledError(platform, kProgramName, CaughtErrorNumber());
  }
}
