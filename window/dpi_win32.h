// The DPI of a window and what is measured at a DPI. Windows 10 gives each
// window the DPI of the monitor it is on; older Windows, on which the programs
// are system aware, have one DPI for every window: the screen's at sign-in.
// The functions of Windows 10 are looked up at run time, so that the programs
// still start on Windows 7 and 8, which lack them.
#pragma once

#include <windows.h>

class DpiFunctions {
 public:
  DpiFunctions();

  // The screen's DPI, which every window of a system-aware program has.
  int OfSystem() const;
  int OfWindow(HWND window) const;
  // The window rectangle around a client rectangle, with the frame's metrics at the DPI.
  void AdjustFrame(RECT& rect, DWORD style, DWORD ex_style, int dpi) const;
  // A system metric (SM_CXICON, ...) at the DPI.
  int Metric(int index, int dpi) const;

 private:
  UINT(WINAPI* dpi_for_window_)(HWND) = nullptr;
  BOOL(WINAPI* adjust_window_rect_ex_for_dpi_)(RECT*, DWORD, BOOL, DWORD, UINT) = nullptr;
  int(WINAPI* system_metrics_for_dpi_)(int, UINT) = nullptr;
};
