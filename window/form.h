// A window described as a table of controls, like a form description: sizes in
// twips (1/1440 inch), controls in tab order. form_win32 realises it.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "window.h"

// 0x00BBGGRR, the layout of a Win32 COLORREF.
using Colour = uint32_t;

inline constexpr Colour kBlack = 0x000000;
inline constexpr Colour kWhite = 0xFFFFFF;
inline constexpr Colour kMidGrey = 0x808080;

struct Font {
  const wchar_t* face;
  double points;
  int weight;  // 400 regular, 700 bold
};

inline constexpr Font kSansSerif{L"MS Sans Serif", 8.25, 400};
inline constexpr Font kSansSerifBold{L"MS Sans Serif", 8.25, 700};

enum class ControlKind {
  kTextBox,        // edit box; a disabled one with colours is drawn in them
  kLabel,
  kFrame,          // titled frame; may contain other controls
  kCommandButton,
  kOptionButton,
  kPictureBox,     // shows an icon at its natural size in the top-left corner
  kLine,           // from (left, top) to (left + width, top + height); no tab stop
};

enum class Alignment { kLeft, kCentre, kRight };

struct ControlDesign {
  ControlId id = 0;
  ControlKind kind = ControlKind::kLabel;
  int left = 0, top = 0, width = 0, height = 0;  // twips, from the container's corner
  const wchar_t* text = L"";  // an "&" marks the access key
  Font font = kSansSerif;
  ControlId container = 0;  // 0 for the window, else the id of a frame
  std::optional<Colour> back_colour = std::nullopt;
  std::optional<Colour> text_colour = std::nullopt;
  bool enabled = true;
  const wchar_t* tool_tip = nullptr;
  bool multi_line = false;
  Alignment alignment = Alignment::kLeft;
  bool cancel = false;  // pressed by the Esc key
  int icon = 0;         // resource id of a picture box's icon
};

struct FormDesign {
  const wchar_t* caption;
  int left, top;                   // screen position of the client area, twips
  int client_width, client_height;  // twips
  std::optional<Colour> back_colour;  // the system's button face when none
  int icon;                        // resource id
  std::vector<ControlDesign> controls;  // in tab order
};
