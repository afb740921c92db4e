// The Launcher's routines: start-up before its window shows, the acceptance
// option, Connect and "I Don't Understand".
#pragma once

#include <functional>
#include <string>

#include "common/platform.h"
#include "launcher/open_document.h"
#include "window/window.h"

// Opened by Connect when the settings name no start page.
inline constexpr const wchar_t* kDefaultStartPage = L"http://www.kelbry.com/";

class Launcher {
 public:
  Launcher(Platform& platform, Window& window, Shell& shell)
      : platform_(platform), window_(window), shell_(shell) {}

  // Loads the workstation's settings, refuses when the access switch on the
  // server says stopped, and shows the window with the agreement.
  void StartUp();
  // The acceptance option was selected: Connect may be pressed.
  void AcceptanceSelected();
  // Opens the start page and ends the program.
  [[noreturn]] void Connect();
  // Ends the program without opening anything.
  [[noreturn]] void DontUnderstand();

 private:
  // Runs start-up steps; true when they ran through. A file-access error
  // returns false; any other ends the program with the fatal error report.
  bool Handled(const std::function<void()>& steps);
  // Applies the settings file's texts and remembers its start page and server
  // path; false when the file holds no settings.
  bool ApplySettings(const std::wstring& program_folder);
  bool AccessStopped() const;
  [[noreturn]] void Refuse();
  // The built-in texts unless the file's were read, then the window.
  void ShowAgreement(bool records_read);

  Platform& platform_;
  Window& window_;
  Shell& shell_;
  std::wstring start_page_;
  std::wstring server_path_;
};
