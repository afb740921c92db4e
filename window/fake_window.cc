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
  At(id);
  log.push_back(L"repaint " + std::to_wstring(id));
}

void FakeWindow::Show() {
  if (!show_errors.empty()) {
    int32_t number = show_errors.front();
    show_errors.erase(show_errors.begin());
    throw RunTimeError(number);
  }
  shown = true;
  log.push_back(L"show");
}

void FakeWindow::ShowBusyPointer() {
  busy = true;
  log.push_back(L"busy");
}
