// The window's place and size at its DPI, and realising it again when its DPI
// changes: moved to a monitor of another scale, or its monitor's scale changed.
// The controls keep their windows, and with them their texts, states and the
// focus; their rectangles, fonts and pictures are made again from the same
// twips.
#include <algorithm>
#include <utility>

#include "form_controls_win32.h"
#include "form_win32.h"

namespace {

constexpr int kPictureSize = 32;  // a picture's natural size at 96 DPI, in pixels
constexpr int kDefaultDpi = 96;

// Where a window's near edge goes along one axis: where it was, moved back the
// least that brings its far edge inside the area, and never before the area's
// near edge, so that a window larger than the area starts where the area does.
LONG Inside(LONG start, LONG size, LONG area_start, LONG area_end) {
  return std::max(area_start, std::min(start, area_end - size));
}

// The window's fixed place, moved the least that keeps all of it in the work
// area of its monitor: at a high DPI a small screen, or the taskbar, would
// otherwise hide its lower buttons.
void KeepOnItsScreen(RECT& frame) {
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  if (!GetMonitorInfoW(MonitorFromRect(&frame, MONITOR_DEFAULTTONEAREST), &monitor)) return;
  const RECT& area = monitor.rcWork;
  OffsetRect(&frame,
             Inside(frame.left, frame.right - frame.left, area.left, area.right) - frame.left,
             Inside(frame.top, frame.bottom - frame.top, area.top, area.bottom) - frame.top);
}

}  // namespace

// The window's rectangle around a client area of the form's size at a DPI
// whose corner is at (0, 0), with the frame the metrics for the DPI tell.
RECT Form::FrameAt(int dpi) const {
  RECT frame{0, 0, Pixels(design_.client_width, dpi), Pixels(design_.client_height, dpi)};
  dpi_functions_.AdjustFrame(frame, kFormStyle, kFormExStyle, dpi);
  return frame;
}

// The same at the window's DPI with the frame the window has: Windows draws
// it at the DPI of the window's monitor, Wine at the system's.
RECT Form::FrameAsDrawn() const {
  RECT frame, client;
  GetWindowRect(window_, &frame);
  GetClientRect(window_, &client);
  MapWindowPoints(window_, HWND_DESKTOP, reinterpret_cast<POINT*>(&client), 2);
  return {frame.left - client.left, frame.top - client.top,
          X(design_.client_width) + frame.right - client.right,
          Y(design_.client_height) + frame.bottom - client.bottom};
}

// The window's fixed place: its client area's corner where the form puts it,
// moved the least that keeps all of the window in the work area.
RECT Form::FixedPlace(RECT frame) const {
  OffsetRect(&frame, X(design_.left), Y(design_.top));
  KeepOnItsScreen(frame);
  return frame;
}

// Drawn by whoever places the window: nothing before it is shown, and all at
// once after a change of DPI. Per-monitor DPI is Windows 10's, whose desktop
// is always composed, so nothing of what the window uncovers needs drawing.
void Form::Place(const RECT& frame) {
  SetWindowPos(window_, nullptr, frame.left, frame.top, frame.right - frame.left,
               frame.bottom - frame.top, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
}

// The client area is the form's size at its DPI, whatever frame the system
// draws around it: where that frame is not what the metrics for the DPI told
// (Wine draws every window's frame at the system's DPI), the window grows or
// shrinks by the difference, its corner staying where it is.
void Form::FitClientArea() {
  RECT frame, drawn = FrameAsDrawn();
  GetWindowRect(window_, &frame);
  SIZE size{drawn.right - drawn.left, drawn.bottom - drawn.top};
  if (size.cx == frame.right - frame.left && size.cy == frame.bottom - frame.top) return;
  SetWindowPos(window_, nullptr, 0, 0, size.cx, size.cy,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
}

// WM_DPICHANGED: the window goes where Windows suggests, which keeps it under
// the mouse that drags it, at the size its answer to WM_GETDPISCALEDSIZE gave.
// Nothing is drawn until the window and every control have their new
// rectangles and fonts; the fonts of the old DPI are freed once no control
// uses them.
void Form::ChangeDpi(int dpi, const RECT& suggested) {
  dpi_ = dpi;
  auto old_fonts = std::exchange(fonts_, {});
  pictures_.clear();
  Place(suggested);
  FitClientArea();
  for (Control& control : controls_) LayOutAgain(control);
  ShowWindowIcons();
  RedrawWindow(window_, nullptr, nullptr,
               RDW_ERASE | RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN);
}

void Form::LayOutAgain(Control& control) {
  const ControlDesign& design = *control.design;
  control.font = FontFor(design.font);
  if (!control.hwnd) return;
  SetWindowPos(control.hwnd, nullptr, X(design.left), Y(design.top), X(design.width),
               Y(design.height), SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
  SendMessageW(control.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(control.font), FALSE);
}

// The title bar's and the taskbar's icons at the sizes of the window's DPI,
// where the class's, of the system's DPI, would be scaled. The window's
// previous ones are freed once it has these.
void Form::ShowWindowIcons() {
  Icon big_icon(LoadIconOfSize(design_.icon, dpi_functions_.Metric(SM_CXICON, dpi_)));
  Icon small_icon(LoadIconOfSize(design_.icon, dpi_functions_.Metric(SM_CXSMICON, dpi_)));
  SendMessageW(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big_icon.get()));
  SendMessageW(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small_icon.get()));
  big_icon_ = std::move(big_icon);
  small_icon_ = std::move(small_icon);
}

// A picture box's icon at its natural size at the window's DPI, loaded once a DPI.
HICON Form::PictureIcon(int icon) {
  Icon& picture = pictures_[icon];
  if (!picture) picture.reset(LoadIconOfSize(icon, MulDiv(kPictureSize, dpi_, kDefaultDpi)));
  return picture.get();
}
