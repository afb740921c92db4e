// Measures and GDI resources: twips at the window's DPI, the fonts the form
// makes at that DPI, the brushes it keeps for its lifetime, and icons at a size.
#include <cmath>

#include "fonts.h"
#include "form_win32.h"

namespace {

constexpr int kTwipsPerInch = 1440;

}  // namespace

int Form::Pixels(int twips, int dpi) { return MulDiv(twips, dpi, kTwipsPerInch); }
int Form::X(int twips) const { return Pixels(twips, dpi_); }
int Form::Y(int twips) const { return Pixels(twips, dpi_); }

HFONT Form::FontFor(const Font& font) {
  std::wstring key = std::wstring(font.face) + L"/" + std::to_wstring(font.points) + L"/" +
                     std::to_wstring(font.weight);
  auto found = fonts_.find(key);
  if (found == fonts_.end()) {
    // Rounded down, a font grows no faster than the twips around it, so a
    // caption that fits its control at 96 DPI fits it at every DPI.
    int height = -static_cast<int>(std::floor(font.points * dpi_ / 72.0 + 1e-9));
    HFONT created = CreateFontW(height, 0, 0, 0, font.weight, FALSE, FALSE, FALSE, ANSI_CHARSET,
                                OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                DEFAULT_PITCH | FF_DONTCARE, FaceAtDpi(font.face, dpi_));
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

// The icon's image of this size, or the one Windows scales to it where it has
// none. Not shared: Windows keeps one shared image of an icon, whatever size is
// asked for later.
HICON Form::LoadIconOfSize(int icon, int size) const {
  return static_cast<HICON>(
      LoadImageW(instance_, MAKEINTRESOURCEW(icon), IMAGE_ICON, size, size, 0));
}
