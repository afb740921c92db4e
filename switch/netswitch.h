// The switch's routines: start-up, which doubles as the check that the user
// may write the server folder, and the STOP, ReSTART and Quit buttons.
#pragma once

#include <string>

#include "common/platform.h"
#include "common/switch_file.h"
#include "window/window.h"

class NetSwitch {
 public:
  NetSwitch(Platform& platform, Window& window) : platform_(platform), window_(window) {}

  // Opens Internet.set for reading and writing (creating it empty when
  // absent), shows its state and the window; refuses when it cannot.
  void StartUp();
  void Stop() { Write(AccessSwitch::kStopped); }
  void Restart() { Write(AccessSwitch::kRunning); }
  [[noreturn]] void Quit() { platform_.EndProgram(); }

 private:
  void Write(AccessSwitch state);
  void ShowState(AccessSwitch state);
  std::wstring SwitchPath() const;

  Platform& platform_;
  Window& window_;
  std::wstring program_folder_;
};
