#include "dpi_win32.h"

namespace {

// user32 is imported, so it is loaded; a function it lacks stays null.
template <typename Function>
void LookUp(Function*& function, const char* name) {
  function = reinterpret_cast<Function*>(reinterpret_cast<void (*)()>(
      GetProcAddress(GetModuleHandleW(L"user32.dll"), name)));
}

}  // namespace

DpiFunctions::DpiFunctions() {
  LookUp(dpi_for_window_, "GetDpiForWindow");
  LookUp(adjust_window_rect_ex_for_dpi_, "AdjustWindowRectExForDpi");
  LookUp(system_metrics_for_dpi_, "GetSystemMetricsForDpi");
}

int DpiFunctions::OfSystem() const {
  HDC screen = GetDC(nullptr);
  int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi;
}

int DpiFunctions::OfWindow(HWND window) const {
  return dpi_for_window_ ? static_cast<int>(dpi_for_window_(window)) : OfSystem();
}

void DpiFunctions::AdjustFrame(RECT& rect, DWORD style, DWORD ex_style, int dpi) const {
  if (adjust_window_rect_ex_for_dpi_) {
    adjust_window_rect_ex_for_dpi_(&rect, style, FALSE, ex_style, static_cast<UINT>(dpi));
  } else {
    AdjustWindowRectEx(&rect, style, FALSE, ex_style);
  }
}

int DpiFunctions::Metric(int index, int dpi) const {
  return system_metrics_for_dpi_ ? system_metrics_for_dpi_(index, static_cast<UINT>(dpi))
                                 : GetSystemMetrics(index);
}
