// A window for headless tests: each control of a form description with its
// text, enabled state and selection, as the routines left them.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "form.h"

class FakeWindow : public Window {
 public:
  struct Control {
    std::wstring text;
    bool enabled = true;
    bool selected = false;
  };

  explicit FakeWindow(const FormDesign& design);

  std::map<ControlId, Control> controls;
  bool shown = false;
  bool busy = false;
  std::vector<int32_t> show_errors;  // raised by the next calls of Show, in turn
  // Each control as the screen shows it: drawn when the window is shown, and
  // again only when a routine repaints it.
  std::map<ControlId, Control> drawn;

  // Throws std::out_of_range for an id the form does not have.
  Control& At(ControlId id) { return controls.at(id); }

  std::wstring Text(ControlId id) override { return At(id).text; }
  void SetText(ControlId id, const std::wstring& text) override { At(id).text = text; }
  void SetEnabled(ControlId id, bool enabled) override { At(id).enabled = enabled; }
  void SetSelected(ControlId id, bool selected) override { At(id).selected = selected; }
  void Repaint(ControlId id) override;
  void Show() override;
  void ShowBusyPointer() override;
};
