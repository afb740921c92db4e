#include "fake_window.h"

#include "common/error.h"

FakeWindow::FakeWindow(const FormDesign& design) {
  for (const ControlDesign& control : design.controls) {
    if (control.kind != ControlKind::kLine) {
      controls[control.id] = {control.text, control.enabled, false};
    }
  }
}

void FakeWindow::Repaint(ControlId id) {
  const Control& control = At(id);
  if (shown) drawn[id] = control;
}

void FakeWindow::Show() {
  if (!show_errors.empty()) {
    int32_t number = show_errors.front();
    show_errors.erase(show_errors.begin());
    throw RunTimeError(number);
  }
  shown = true;
  drawn = controls;
}

void FakeWindow::ShowBusyPointer() {
  busy = true;
}
