// The keyboard and the focus: the dialog manager's Tab, arrow and access keys,
// Esc and Enter, and where the focus goes when the window shows or returns.
#include <algorithm>

#include "form_win32.h"

namespace {

bool CanTakeFocus(ControlKind kind) {
  return kind == ControlKind::kTextBox || kind == ControlKind::kCommandButton ||
         kind == ControlKind::kOptionButton;
}

// Access keys need Alt: a letter typed while a button has the focus presses
// nothing, as the dialog manager would otherwise have it.
bool IsLetterForAButton(const MSG& message) {
  return message.message == WM_CHAR && message.wParam > L' ' &&
         !(SendMessageW(message.hwnd, WM_GETDLGCODE, message.wParam,
                        reinterpret_cast<LPARAM>(&message)) &
           DLGC_WANTCHARS);
}

}  // namespace

int Form::Run(const std::function<void()>& load) {
  Guarded(load);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (IsLetterForAButton(message) || !IsDialogMessageW(window_, &message)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
  return static_cast<int>(message.wParam);
}

void Form::Clicked(ControlId id) {
  if (id == IDCANCEL) {
    // The Esc key presses the control marked as the cancel button.
    auto cancel = std::find_if(controls_.begin(), controls_.end(),
                               [](const Control& c) { return c.design->cancel; });
    if (cancel == controls_.end()) return;
    id = cancel->design->id;
  } else if (id == IDOK) {
    // The Enter key presses the focused button, and nothing else.
    Control* focused = Find(GetFocus());
    if (!focused || focused->design->kind != ControlKind::kCommandButton) return;
    id = focused->design->id;
  }
  Control* control = Find(id);
  if (!control || !IsWindowEnabled(control->hwnd)) return;
  // An option button also reports a click when the keyboard moves the focus
  // onto it; only a selection runs its routine.
  if (control->design->kind == ControlKind::kOptionButton &&
      SendMessageW(control->hwnd, BM_GETCHECK, 0, 0) != BST_CHECKED) {
    return;
  }
  auto routine = routines_.find(id);
  if (routine != routines_.end()) Guarded(routine->second);
}

void Form::FocusFirstControl() {
  for (const Control& control : controls_) {
    if (CanTakeFocus(control.design->kind) && IsWindowEnabled(control.hwnd)) {
      SetFocus(control.hwnd);
      return;
    }
  }
}

// WM_NEXTDLGCTL, sent by the keyboard interface for Tab and Shift+Tab.
void Form::MoveFocus(WPARAM wparam, LPARAM lparam) {
  HWND next = LOWORD(lparam) ? reinterpret_cast<HWND>(wparam)
                             : GetNextDlgTabItem(window_, GetFocus(), wparam != 0);
  if (next) SetFocus(next);
}

// Like a dialog: the focus leaves with the window and comes back with it.
void Form::KeepFocus(bool activated) {
  if (!activated) {
    last_focus_ = GetFocus();
  } else if (last_focus_) {
    SetFocus(last_focus_);
  }
}
