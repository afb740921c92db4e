// A FormDesign realised as a plain Win32 window: a fixed dialog frame whose
// client area sits at the given screen position, with the controls in tab
// order, all measured at the DPI of the monitor the window is on, and measured
// again when it moves to a monitor of another DPI or the monitor's scale
// changes.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <type_traits>
#include <vector>

#include "dpi_win32.h"
#include "form.h"

// The window itself is made when it is first shown: until then the form keeps
// what the routines set, so that a program which ends before showing its
// window (a refusal, an error report) never makes one.
class Form : public Window {
 public:
  Form(HINSTANCE instance, const FormDesign& design);
  ~Form() override;
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  // The routine a click runs; for an option button, its selection.
  void OnClick(ControlId id, std::function<void()> routine);
  // Receives the number of an error that escapes a routine.
  void OnUnhandledError(std::function<void(int32_t)> report);
  // Runs the load routine, then the window's events until it is closed.
  int Run(const std::function<void()>& load);

  std::wstring Text(ControlId id) override;
  void SetText(ControlId id, const std::wstring& text) override;
  void SetEnabled(ControlId id, bool enabled) override;
  void SetSelected(ControlId id, bool selected) override;
  void Repaint(ControlId id) override;
  void Show() override;
  void ShowBusyPointer() override;

 private:
  struct GdiDeleter {
    void operator()(HGDIOBJ object) const { DeleteObject(object); }
  };
  using GdiObject = std::unique_ptr<std::remove_pointer_t<HGDIOBJ>, GdiDeleter>;
  struct IconDeleter {
    void operator()(HICON icon) const { DestroyIcon(icon); }
  };
  using Icon = std::unique_ptr<std::remove_pointer_t<HICON>, IconDeleter>;

  struct Control {
    const ControlDesign* design;
    // What the routines set before the window is made.
    std::wstring text;
    bool enabled;
    bool selected = false;
    HWND hwnd = nullptr;
    WNDPROC original_proc = nullptr;  // set for controls whose messages the form filters
    HFONT font = nullptr;
  };

  // The window procedures (form_messages_win32.cc).
  static LRESULT CALLBACK FormProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
  static LRESULT CALLBACK ControlProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);

  LRESULT HandleFormMessage(UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT HandleControlMessage(Control& control, UINT message, WPARAM wparam, LPARAM lparam);

  // Realising the window and its controls (form_win32.cc).
  void RegisterFormClass();
  void Realise();
  void CreateWindowFrame();
  void CreateControl(Control& control);
  void AddToolTips();
  void AddToolTip(const Control& control);
  void Subclass(Control& control);
  bool FiltersMessages(const Control& control) const;
  void Guarded(const std::function<void()>& routine);
  Control* Find(ControlId id);
  Control* Find(HWND hwnd);
  Control& At(ControlId id);

  // The window's place and size, and realising it again at another DPI
  // (form_dpi_win32.cc).
  RECT FrameAt(int dpi) const;
  RECT FrameAsDrawn() const;
  RECT FixedPlace(RECT frame) const;
  void Place(const RECT& frame);
  void FitClientArea();
  void ChangeDpi(int dpi, const RECT& suggested);
  void LayOutAgain(Control& control);
  void ShowWindowIcons();
  HICON PictureIcon(int icon);

  // Colours and painting (form_paint_win32.cc).
  LRESULT ColourControl(HDC dc, HWND hwnd);
  LRESULT EraseBackground(HWND hwnd, HDC dc, const std::optional<Colour>& back);
  void PaintTextBox(const Control& control);
  void PaintLines(HDC dc) const;
  void DrawPicture(const DRAWITEMSTRUCT& item);

  // The keyboard and the focus (form_keyboard_win32.cc).
  void Clicked(ControlId id);
  void FocusFirstControl();
  void MoveFocus(WPARAM wparam, LPARAM lparam);
  void KeepFocus(bool activated);

  // Measures, fonts and brushes (form_resources_win32.cc).
  static int Pixels(int twips, int dpi);
  int X(int twips) const;
  int Y(int twips) const;
  HICON LoadIconOfSize(int icon, int size) const;
  HFONT FontFor(const Font& font);
  HBRUSH BrushFor(Colour colour);

  HINSTANCE instance_;
  const FormDesign& design_;
  HWND window_ = nullptr;
  HWND tool_tips_ = nullptr;
  HWND last_focus_ = nullptr;
  DpiFunctions dpi_functions_;
  int dpi_ = 96;
  bool busy_ = false;
  std::vector<Control> controls_;
  std::map<ControlId, std::function<void()>> routines_;
  std::function<void(int32_t)> report_unhandled_;
  // Fonts and icons at the window's DPI; brushes at every DPI.
  std::map<std::wstring, GdiObject> fonts_;
  std::map<int, Icon> pictures_;  // by resource id
  Icon big_icon_, small_icon_;    // set where the class's, at the system's DPI, do not fit
  std::map<Colour, GdiObject> brushes_;
};
