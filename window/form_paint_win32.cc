// Colouring and painting: the colours of text boxes and labels, the text boxes
// the form draws itself, backgrounds, pictures and lines.
#include "form_controls_win32.h"
#include "form_win32.h"

namespace {

constexpr int kTextMargin = 30;  // twips

UINT TextAlignment(Alignment alignment) {
  switch (alignment) {
    case Alignment::kCentre: return DT_CENTER;
    case Alignment::kRight: return DT_RIGHT;
    case Alignment::kLeft: break;
  }
  return DT_LEFT;
}

Colour DefaultBackColour(ControlKind kind) {
  return GetSysColor(kind == ControlKind::kTextBox ? COLOR_WINDOW : COLOR_BTNFACE);
}

Colour DefaultTextColour(ControlKind kind) {
  return GetSysColor(kind == ControlKind::kTextBox ? COLOR_WINDOWTEXT : COLOR_BTNTEXT);
}

}  // namespace

// Controls given colours are drawn in them. A text box without its own keeps
// a text box's: the window colour, with grey text while disabled, where a
// stock disabled edit box would take the dialog's button face.
LRESULT Form::ColourControl(HDC dc, HWND hwnd) {
  Control* control = Find(hwnd);
  if (!control) return 0;
  const ControlDesign& design = *control->design;
  bool text_box = design.kind == ControlKind::kTextBox;
  if (!text_box && !design.back_colour && !design.text_colour) return 0;
  Colour back = design.back_colour.value_or(DefaultBackColour(design.kind));
  Colour text = design.text_colour.value_or(
      text_box && !IsWindowEnabled(hwnd) ? GetSysColor(COLOR_GRAYTEXT)
                                         : DefaultTextColour(design.kind));
  SetTextColor(dc, text);
  SetBkColor(dc, back);
  return reinterpret_cast<LRESULT>(BrushFor(back));
}

// The window and its frames: their own colour, or the system's button face.
LRESULT Form::EraseBackground(HWND hwnd, HDC dc, const std::optional<Colour>& back) {
  RECT client;
  GetClientRect(hwnd, &client);
  FillRect(dc, &client, back ? BrushFor(*back) : GetSysColorBrush(COLOR_BTNFACE));
  return 1;
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
  // Drawn at the size it was loaded at.
  DrawIconEx(item.hDC, 0, 0, PictureIcon(design.icon), 0, 0, 0, nullptr, DI_NORMAL);
}
