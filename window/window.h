// The window a program's routines drive: its controls are named by the ids of
// the program's form description.
#pragma once

#include <string>

using ControlId = int;

class Window {
 public:
  virtual ~Window() = default;
  // The text of a text box, or the caption of any other control.
  virtual std::wstring Text(ControlId id) = 0;
  virtual void SetText(ControlId id, const std::wstring& text) = 0;
  virtual void SetEnabled(ControlId id, bool enabled) = 0;
  // Selects or clears an option button.
  virtual void SetSelected(ControlId id, bool selected) = 0;
  // Redraws a control before returning.
  virtual void Repaint(ControlId id) = 0;
  // Makes the window visible, not modal; focus goes to the first control in
  // tab order that can take it.
  virtual void Show() = 0;
  // The hourglass over every window of the program from now on.
  virtual void ShowBusyPointer() = 0;
};
