// A FormDesign realised as a plain Win32 window: a fixed dialog frame whose
// client area sits at the given screen position, with the controls in tab
// order, all measured at the screen's DPI.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#include "form.h"

class Form : public Window {
 public:
  // Creates the window and its controls, hidden.
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

  struct Control {
    const ControlDesign* design;
    HWND hwnd;
    WNDPROC original_proc;  // set for controls whose messages the form filters
    HFONT font;
  };

  static LRESULT CALLBACK FormProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
  static LRESULT CALLBACK ControlProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
  static void RegisterFormClass(HINSTANCE instance, int icon);

  LRESULT HandleFormMessage(UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT HandleControlMessage(Control& control, UINT message, WPARAM wparam, LPARAM lparam);

  void CreateWindowFrame(const FormDesign& design);
  void CreateControl(const ControlDesign& design);
  void AddToolTips();
  void AddToolTip(const Control& control);
  void Subclass(Control& control);
  bool KeepsColoursWhenDisabled(const Control& control) const;
  bool FiltersMessages(const Control& control) const;

  LRESULT ColourControl(HDC dc, HWND hwnd);
  void PaintTextBox(const Control& control);
  void PaintLines(HDC dc) const;
  void DrawPicture(const DRAWITEMSTRUCT& item);
  void Clicked(ControlId id);
  void Guarded(const std::function<void()>& routine);

  int X(int twips) const;
  int Y(int twips) const;
  HFONT FontFor(const Font& font);
  HBRUSH BrushFor(Colour colour);
  Control* Find(ControlId id);
  Control* Find(HWND hwnd);
  HWND Handle(ControlId id);

  HINSTANCE instance_;
  const FormDesign& design_;
  HWND window_ = nullptr;
  HWND tool_tips_ = nullptr;
  HWND last_focus_ = nullptr;
  int dpi_x_ = 96, dpi_y_ = 96;
  bool busy_ = false;
  std::vector<Control> controls_;
  std::map<ControlId, std::function<void()>> routines_;
  std::function<void(int32_t)> report_unhandled_;
  std::map<std::wstring, GdiObject> fonts_;
  std::map<Colour, GdiObject> brushes_;
};
