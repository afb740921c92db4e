#include "form_win32.h"

#include <commctrl.h>

#include <algorithm>
#include <cmath>

#include "error.h"
#include "system_library_win32.h"

namespace {

constexpr wchar_t kFormClass[] = L"BrowserLauncherForm";
// A fixed dialog frame: title bar, system menu and close box; no minimise or
// maximise box and no sizing border.
constexpr DWORD kFormStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kFormExStyle = WS_EX_DLGMODALFRAME;
constexpr int kTwipsPerInch = 1440;
constexpr int kIconSize = 32;
constexpr int kTextMargin = 30;  // twips

struct WindowClass {
  const wchar_t* name;
  DWORD style;
  DWORD ex_style;
};

DWORD EditAlignment(Alignment alignment) {
  switch (alignment) {
    case Alignment::kCentre: return ES_CENTER;
    case Alignment::kRight: return ES_RIGHT;
    case Alignment::kLeft: break;
  }
  return ES_LEFT;
}

DWORD LabelAlignment(Alignment alignment) {
  switch (alignment) {
    case Alignment::kCentre: return SS_CENTER;
    case Alignment::kRight: return SS_RIGHT;
    case Alignment::kLeft: break;
  }
  return SS_LEFT;
}

UINT TextAlignment(Alignment alignment) {
  switch (alignment) {
    case Alignment::kCentre: return DT_CENTER;
    case Alignment::kRight: return DT_RIGHT;
    case Alignment::kLeft: break;
  }
  return DT_LEFT;
}

// A stock disabled edit box draws grey text; a text box given colours keeps
// them when disabled. Such a box only shows its text, without focus, caret,
// selection or scrolling, and the form draws it.
bool KeepsColoursWhenDisabled(const ControlDesign& design) {
  return design.kind == ControlKind::kTextBox && !design.enabled &&
         (design.back_colour || design.text_colour);
}

// Every control that can take the focus is a tab stop and a group of its own,
// so Tab walks the table's order and arrow keys stay inside a control.
WindowClass ClassOf(const ControlDesign& design) {
  constexpr DWORD kTabStop = WS_TABSTOP | WS_GROUP;
  if (KeepsColoursWhenDisabled(design)) return {WC_STATICW, SS_NOPREFIX, WS_EX_CLIENTEDGE};
  switch (design.kind) {
    case ControlKind::kTextBox:
      return {WC_EDITW,
              kTabStop | EditAlignment(design.alignment) |
                  (design.multi_line ? ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN
                                   : ES_AUTOHSCROLL),
              WS_EX_CLIENTEDGE};
    case ControlKind::kLabel: return {WC_STATICW, LabelAlignment(design.alignment), 0};
    case ControlKind::kFrame:
      return {WC_BUTTONW, BS_GROUPBOX | WS_GROUP | WS_CLIPCHILDREN, WS_EX_CONTROLPARENT};
    case ControlKind::kCommandButton: return {WC_BUTTONW, BS_PUSHBUTTON | BS_MULTILINE | kTabStop, 0};
    case ControlKind::kOptionButton:
      return {WC_BUTTONW, BS_AUTORADIOBUTTON | BS_MULTILINE | kTabStop, 0};
    case ControlKind::kPictureBox: return {WC_STATICW, SS_OWNERDRAW, 0};
    case ControlKind::kLine: break;
  }
  return {nullptr, 0, 0};
}

bool CanTakeFocus(ControlKind kind) {
  return kind == ControlKind::kTextBox || kind == ControlKind::kCommandButton ||
         kind == ControlKind::kOptionButton;
}

Colour DefaultBackColour(ControlKind kind) {
  return GetSysColor(kind == ControlKind::kTextBox ? COLOR_WINDOW : COLOR_BTNFACE);
}

Colour DefaultTextColour(ControlKind kind) {
  return GetSysColor(kind == ControlKind::kTextBox ? COLOR_WINDOWTEXT : COLOR_BTNTEXT);
}

std::wstring WindowText(HWND hwnd) {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
  return text;
}

HICON IconOfSize(HINSTANCE instance, int icon, int size_metric) {
  int size = GetSystemMetrics(size_metric);
  return static_cast<HICON>(
      LoadImageW(instance, MAKEINTRESOURCEW(icon), IMAGE_ICON, size, size, LR_SHARED));
}

bool HasToolTip(const ControlDesign& design) { return design.tool_tip != nullptr; }

// The tool tip class comes from comctl32, which is not among the DLLs Windows
// always takes from its own folder: imported, it would be looked for beside
// the program first.
void RegisterCommonControls() {
  INITCOMMONCONTROLSEX common{sizeof common, ICC_WIN95_CLASSES};
  SystemFunction<decltype(InitCommonControlsEx)>(L"comctl32.dll", "InitCommonControlsEx")(&common);
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

Form::Form(HINSTANCE instance, const FormDesign& design) : instance_(instance), design_(design) {
  controls_.reserve(design.controls.size());
  for (const ControlDesign& control : design.controls) {
    controls_.push_back({&control, control.text, control.enabled});
  }
}

Form::~Form() {
  if (window_) DestroyWindow(window_);
}

// The window's icons come with its class: Wine converts a window's icons for
// the X display when it creates the window, and again at each WM_SETICON.
void Form::RegisterFormClass(HINSTANCE instance, int icon) {
  WNDCLASSEXW form_class{};
  form_class.cbSize = sizeof form_class;
  form_class.lpfnWndProc = FormProc;
  form_class.hInstance = instance;
  form_class.hIcon = IconOfSize(instance, icon, SM_CXICON);
  form_class.hIconSm = IconOfSize(instance, icon, SM_CXSMICON);
  form_class.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
  form_class.lpszClassName = kFormClass;
  RegisterClassExW(&form_class);
}

void Form::Realise() {
  RegisterFormClass(instance_, design_.icon);
  CreateWindowFrame();
  for (Control& control : controls_) CreateControl(control);
}

void Form::CreateWindowFrame() {
  const FormDesign& design = design_;
  HDC screen = GetDC(nullptr);
  dpi_x_ = GetDeviceCaps(screen, LOGPIXELSX);
  dpi_y_ = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);

  RECT frame{X(design.left), Y(design.top), X(design.left) + X(design.client_width),
             Y(design.top) + Y(design.client_height)};
  AdjustWindowRectEx(&frame, kFormStyle, FALSE, kFormExStyle);
  CreateWindowExW(kFormExStyle, kFormClass, design.caption, kFormStyle, frame.left, frame.top,
                  frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr, instance_,
                  this);
  if (!window_) throw RunTimeError(errors::kOutOfMemory);
}

void Form::CreateControl(Control& control) {
  const ControlDesign& design = *control.design;
  WindowClass window_class = ClassOf(design);
  control.font = FontFor(design.font);
  if (!window_class.name) return;
  HWND parent = design.container ? At(design.container).hwnd : window_;
  DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | window_class.style |
                (control.enabled ? 0 : WS_DISABLED);
  control.hwnd = CreateWindowExW(window_class.ex_style, window_class.name, control.text.c_str(),
                                 style, X(design.left), Y(design.top), X(design.width),
                                 Y(design.height), parent,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(design.id)),
                                 instance_, nullptr);
  if (!control.hwnd) throw RunTimeError(errors::kOutOfMemory);
  SendMessageW(control.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(control.font), FALSE);
  if (design.kind == ControlKind::kTextBox) SendMessageW(control.hwnd, EM_SETLIMITTEXT, 0, 0);
  if (control.selected) SendMessageW(control.hwnd, BM_SETCHECK, BST_CHECKED, 0);
  if (FiltersMessages(control)) Subclass(control);
}

// Frames pass their children's notifications on to the window, and a few
// text boxes need their own drawing or keyboard handling.
bool Form::FiltersMessages(const Control& control) const {
  const ControlDesign& design = *control.design;
  return design.kind == ControlKind::kFrame || KeepsColoursWhenDisabled(*control.design) ||
         (design.kind == ControlKind::kTextBox && design.multi_line && design.enabled);
}

void Form::Subclass(Control& control) {
  control.original_proc = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(
      control.hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Form::ControlProc)));
}

// comctl32 takes Wine some 10 ms to load, a fifth of the time an empty window
// takes to appear: it is loaded for the tool tips once the window shows, and
// only by a window that has tool tips.
void Form::AddToolTips() {
  if (tool_tips_ || std::ranges::none_of(design_.controls, HasToolTip)) return;
  RegisterCommonControls();
  tool_tips_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                               WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window_, nullptr,
                               instance_, nullptr);
  for (const Control& control : controls_) {
    if (HasToolTip(*control.design)) AddToolTip(control);
  }
}

void Form::AddToolTip(const Control& control) {
  TTTOOLINFOW tool{};
  tool.cbSize = TTTOOLINFOW_V2_SIZE;
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = window_;
  tool.uId = reinterpret_cast<UINT_PTR>(control.hwnd);
  tool.lpszText = const_cast<wchar_t*>(control.design->tool_tip);
  SendMessageW(tool_tips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void Form::OnClick(ControlId id, std::function<void()> routine) { routines_[id] = std::move(routine); }

void Form::OnUnhandledError(std::function<void(int32_t)> report) {
  report_unhandled_ = std::move(report);
}

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

void Form::Guarded(const std::function<void()>& routine) {
  try {
    routine();
  } catch (const std::exception&) {
    if (report_unhandled_) report_unhandled_(CaughtErrorNumber());
  }
}

std::wstring Form::Text(ControlId id) {
  Control& control = At(id);
  return control.hwnd ? WindowText(control.hwnd) : control.text;
}

void Form::SetText(ControlId id, const std::wstring& text) {
  Control& control = At(id);
  if (control.hwnd) {
    SetWindowTextW(control.hwnd, text.c_str());
  } else {
    control.text = text;
  }
}

void Form::SetEnabled(ControlId id, bool enabled) {
  Control& control = At(id);
  if (control.hwnd) {
    EnableWindow(control.hwnd, enabled);
  } else {
    control.enabled = enabled;
  }
}

void Form::SetSelected(ControlId id, bool selected) {
  Control& control = At(id);
  if (control.hwnd) {
    SendMessageW(control.hwnd, BM_SETCHECK, selected ? BST_CHECKED : BST_UNCHECKED, 0);
  } else {
    control.selected = selected;
  }
}

void Form::Repaint(ControlId id) {
  HWND hwnd = At(id).hwnd;
  if (!hwnd) return;  // not drawn yet
  InvalidateRect(hwnd, nullptr, TRUE);
  UpdateWindow(hwnd);
}

void Form::Show() {
  if (!window_) Realise();
  ShowWindow(window_, SW_SHOW);
  UpdateWindow(window_);
  for (const Control& control : controls_) {
    if (CanTakeFocus(control.design->kind) && IsWindowEnabled(control.hwnd)) {
      SetFocus(control.hwnd);
      break;
    }
  }
  AddToolTips();
}

void Form::ShowBusyPointer() {
  busy_ = true;
  SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(32514)));  // IDC_WAIT
}

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
    case WM_ERASEBKGND: {
      RECT client;
      GetClientRect(window_, &client);
      FillRect(reinterpret_cast<HDC>(wparam), &client,
               design_.back_colour ? BrushFor(*design_.back_colour) : GetSysColorBrush(COLOR_BTNFACE));
      return 1;
    }
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(window_, &paint);
      PaintLines(dc);
      EndPaint(window_, &paint);
      return 0;
    }
    case WM_NEXTDLGCTL: {
      // Sent by the keyboard interface for Tab and Shift+Tab.
      HWND next = LOWORD(lparam) ? reinterpret_cast<HWND>(wparam)
                                 : GetNextDlgTabItem(window_, GetFocus(), wparam != 0);
      if (next) SetFocus(next);
      return 0;
    }
    case WM_ACTIVATE:
      // Like a dialog: the focus leaves with the window and comes back with it.
      if (LOWORD(wparam) == WA_INACTIVE) {
        last_focus_ = GetFocus();
      } else if (last_focus_) {
        SetFocus(last_focus_);
      }
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
      case WM_ERASEBKGND: {
        RECT client;
        GetClientRect(control.hwnd, &client);
        const auto& back = control.design->back_colour;
        FillRect(reinterpret_cast<HDC>(wparam), &client,
                 back ? BrushFor(*back) : GetSysColorBrush(COLOR_BTNFACE));
        return 1;
      }
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

LRESULT Form::ColourControl(HDC dc, HWND hwnd) {
  Control* control = Find(hwnd);
  if (!control || (!control->design->back_colour && !control->design->text_colour)) return 0;
  const ControlDesign& design = *control->design;
  Colour back = design.back_colour.value_or(DefaultBackColour(design.kind));
  SetTextColor(dc, design.text_colour.value_or(DefaultTextColour(design.kind)));
  SetBkColor(dc, back);
  return reinterpret_cast<LRESULT>(BrushFor(back));
}

void Form::PaintTextBox(const Control& control) {
  const ControlDesign& design = *control.design;
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(control.hwnd, &paint);
  RECT area;
  GetClientRect(control.hwnd, &area);
  FillRect(dc, &area, BrushFor(design.back_colour.value_or(DefaultBackColour(design.kind))));

  // The margins of an edit box.
  InflateRect(&area, -X(kTextMargin), -Y(kTextMargin));
  HGDIOBJ old_font = SelectObject(dc, control.font);
  SetTextColor(dc, design.text_colour.value_or(DefaultTextColour(design.kind)));
  SetBkMode(dc, TRANSPARENT);
  std::wstring text = WindowText(control.hwnd);
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &area,
            TextAlignment(design.alignment) | DT_WORDBREAK | DT_EDITCONTROL | DT_NOPREFIX |
                DT_EXPANDTABS);
  SelectObject(dc, old_font);
  EndPaint(control.hwnd, &paint);
}

void Form::PaintLines(HDC dc) const {
  for (const Control& control : controls_) {
    const ControlDesign& design = *control.design;
    if (design.kind != ControlKind::kLine) continue;
    GdiObject pen(CreatePen(PS_SOLID, 1, design.text_colour.value_or(kBlack)));
    HGDIOBJ old_pen = SelectObject(dc, pen.get());
    MoveToEx(dc, X(design.left), Y(design.top), nullptr);
    LineTo(dc, X(design.left + design.width), Y(design.top + design.height));
    SelectObject(dc, old_pen);
  }
}

void Form::DrawPicture(const DRAWITEMSTRUCT& item) {
  Control* control = Find(item.hwndItem);
  if (!control) return;
  const ControlDesign& design = *control->design;
  FillRect(item.hDC, &item.rcItem, BrushFor(design.back_colour.value_or(GetSysColor(COLOR_BTNFACE))));
  auto icon = static_cast<HICON>(LoadImageW(instance_, MAKEINTRESOURCEW(design.icon), IMAGE_ICON,
                                            kIconSize, kIconSize, LR_SHARED));
  DrawIconEx(item.hDC, 0, 0, icon, kIconSize, kIconSize, 0, nullptr, DI_NORMAL);
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

int Form::X(int twips) const { return MulDiv(twips, dpi_x_, kTwipsPerInch); }
int Form::Y(int twips) const { return MulDiv(twips, dpi_y_, kTwipsPerInch); }

HFONT Form::FontFor(const Font& font) {
  std::wstring key = std::wstring(font.face) + L"/" + std::to_wstring(font.points) + L"/" +
                     std::to_wstring(font.weight);
  auto found = fonts_.find(key);
  if (found == fonts_.end()) {
    int height = -static_cast<int>(std::lround(font.points * dpi_y_ / 72.0));
    HFONT created = CreateFontW(height, 0, 0, 0, font.weight, FALSE, FALSE, FALSE, ANSI_CHARSET,
                                OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                DEFAULT_PITCH | FF_DONTCARE, font.face);
    found = fonts_.emplace(key, GdiObject(created)).first;
  }
  return static_cast<HFONT>(found->second.get());
}

HBRUSH Form::BrushFor(Colour colour) {
  auto found = brushes_.find(colour);
  if (found == brushes_.end()) {
    found = brushes_.emplace(colour, GdiObject(CreateSolidBrush(colour))).first;
  }
  return static_cast<HBRUSH>(found->second.get());
}

Form::Control* Form::Find(ControlId id) {
  for (Control& control : controls_) {
    if (control.design->id == id) return &control;
  }
  return nullptr;
}

Form::Control* Form::Find(HWND hwnd) {
  for (Control& control : controls_) {
    if (hwnd && control.hwnd == hwnd) return &control;
  }
  return nullptr;
}

Form::Control& Form::At(ControlId id) {
  Control* control = Find(id);
  if (!control) throw RunTimeError(errors::kInvalidCall);
  return *control;
}
