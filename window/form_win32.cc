// Realising a form: the window frame and its controls, made when the form is
// first shown, and what the routines read and set through the Window face.
#include "form_win32.h"

#include <commctrl.h>

#include <algorithm>

#include "common/error.h"
#include "common/system_library_win32.h"
#include "form_controls_win32.h"

namespace {

constexpr wchar_t kFormClass[] = L"BrowserLauncherForm";

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

bool HasToolTip(const ControlDesign& design) { return design.tool_tip != nullptr; }

// The tool tip class comes from comctl32, which is not among the DLLs Windows
// always takes from its own folder: imported, it would be looked for beside
// the program first.
void RegisterCommonControls() {
  INITCOMMONCONTROLSEX common{sizeof common, ICC_WIN95_CLASSES};
  SystemFunction<decltype(InitCommonControlsEx)>(L"comctl32.dll", "InitCommonControlsEx")(&common);
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

// The window's icons come with its class, at the sizes of the system's DPI:
// Wine converts a window's icons for the X display when it creates the window,
// and again at each WM_SETICON. The class keeps them for the program's life.
void Form::RegisterFormClass() {
  WNDCLASSEXW form_class{};
  form_class.cbSize = sizeof form_class;
  form_class.lpfnWndProc = FormProc;
  form_class.hInstance = instance_;
  form_class.hIcon = LoadIconOfSize(design_.icon, GetSystemMetrics(SM_CXICON));
  form_class.hIconSm = LoadIconOfSize(design_.icon, GetSystemMetrics(SM_CXSMICON));
  form_class.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
  form_class.lpszClassName = kFormClass;
  RegisterClassExW(&form_class);
}

// The window is made at its place at the system's DPI. Where that is on a
// monitor of another DPI, it takes that monitor's DPI, its place and size
// there and its icons of that size before its controls are made and anything
// is drawn.
void Form::Realise() {
  RegisterFormClass();
  dpi_ = dpi_functions_.OfSystem();
  CreateWindowFrame();
  if (int monitor_dpi = dpi_functions_.OfWindow(window_); monitor_dpi != dpi_) {
    dpi_ = monitor_dpi;
    Place(FixedPlace(FrameAsDrawn()));
    ShowWindowIcons();
  }
  for (Control& control : controls_) CreateControl(control);
}

void Form::CreateWindowFrame() {
  RECT frame = FixedPlace(FrameAt(dpi_));
  CreateWindowExW(kFormExStyle, kFormClass, design_.caption, kFormStyle, frame.left, frame.top,
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
  FocusFirstControl();
  AddToolTips();
}

void Form::ShowBusyPointer() {
  busy_ = true;
  SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(32514)));  // IDC_WAIT
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
