// The window procedures of the form and of the controls whose messages it
// filters: each message goes to the part of the form that handles it.
#include "form_controls_win32.h"
#include "form_win32.h"

namespace {
// Sent by Windows 10 (1703 and later), which the headers for Windows 7 leave out.
constexpr UINT kGetDpiScaledSize = 0x02E4;  // WM_GETDPISCALEDSIZE
}  // namespace

LRESULT CALLBACK Form::FormProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    auto* form = static_cast<Form*>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams);
    form->window_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
  }
  auto* form = reinterpret_cast<Form*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  return form ? form->HandleFormMessage(message, wparam, lparam)
              : DefWindowProcW(hwnd, message, wparam, lparam);
}

LRESULT CALLBACK Form::ControlProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  auto* form = reinterpret_cast<Form*>(GetWindowLongPtrW(GetAncestor(hwnd, GA_ROOT), GWLP_USERDATA));
  return form->HandleControlMessage(*form->Find(hwnd), message, wparam, lparam);
}

LRESULT Form::HandleFormMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_COMMAND:
      if (HIWORD(wparam) == BN_CLICKED) Clicked(LOWORD(wparam));
      return 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
      if (LRESULT brush = ColourControl(reinterpret_cast<HDC>(wparam), reinterpret_cast<HWND>(lparam))) {
        return brush;
      }
      break;
    case WM_DRAWITEM:
      DrawPicture(*reinterpret_cast<const DRAWITEMSTRUCT*>(lparam));
      return TRUE;
    case WM_ERASEBKGND:
      return EraseBackground(window_, reinterpret_cast<HDC>(wparam), design_.back_colour);
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(window_, &paint);
      PaintLines(dc);
      EndPaint(window_, &paint);
      return 0;
    }
    case kGetDpiScaledSize: {
      // The size at the coming DPI is the form's, not the present one scaled.
      RECT frame = FrameAt(static_cast<int>(wparam));
      *reinterpret_cast<SIZE*>(lparam) = {frame.right - frame.left, frame.bottom - frame.top};
      return TRUE;
    }
    case WM_DPICHANGED:
      ChangeDpi(HIWORD(wparam), *reinterpret_cast<const RECT*>(lparam));
      return 0;
    case WM_NEXTDLGCTL:
      MoveFocus(wparam, lparam);
      return 0;
    case WM_ACTIVATE:
      KeepFocus(LOWORD(wparam) != WA_INACTIVE);
      return 0;
    case WM_SETCURSOR:
      if (busy_) {
        SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(32514)));  // IDC_WAIT
        return TRUE;
      }
      break;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    case WM_NCDESTROY: {
      LRESULT result = DefWindowProcW(window_, message, wparam, lparam);
      window_ = nullptr;  // closed: nothing left for the destructor to destroy
      return result;
    }
  }
  return DefWindowProcW(window_, message, wparam, lparam);
}

LRESULT Form::HandleControlMessage(Control& control, UINT message, WPARAM wparam, LPARAM lparam) {
  if (control.design->kind == ControlKind::kFrame) {
    switch (message) {
      case WM_COMMAND:
      case WM_CTLCOLORSTATIC:
      case WM_CTLCOLOREDIT:
      case WM_CTLCOLORBTN:
      case WM_DRAWITEM:
        return SendMessageW(window_, message, wparam, lparam);
      case WM_NCHITTEST:
        return HTCLIENT;  // a stock frame lets the mouse through to what lies below
      case WM_ERASEBKGND:
        return EraseBackground(control.hwnd, reinterpret_cast<HDC>(wparam),
                               control.design->back_colour);
    }
  } else if (KeepsColoursWhenDisabled(*control.design)) {
    if (message == WM_PAINT) {
      PaintTextBox(control);
      return 0;
    }
    if (message == WM_ERASEBKGND) return 1;
  } else if ((message == WM_KEYDOWN || message == WM_CHAR) && wparam == VK_ESCAPE) {
    return 0;  // a multi-line edit box would close the window on Esc
  }
  return CallWindowProcW(control.original_proc, control.hwnd, message, wparam, lparam);
}
