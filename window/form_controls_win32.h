// What the files of the form share about its frame and its controls.
#pragma once

#include <windows.h>

#include <string>

#include "form.h"

// A fixed dialog frame: title bar, system menu and close box; no minimise or
// maximise box and no sizing border.
inline constexpr DWORD kFormStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
inline constexpr DWORD kFormExStyle = WS_EX_DLGMODALFRAME;

// A stock disabled edit box draws grey text; a text box given colours keeps
// them when disabled. Such a box only shows its text, without focus, caret,
// selection or scrolling, and the form draws it.
inline bool KeepsColoursWhenDisabled(const ControlDesign& design) {
  return design.kind == ControlKind::kTextBox && !design.enabled &&
         (design.back_colour || design.text_colour);
}

inline std::wstring WindowText(HWND hwnd) {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
  return text;
}
