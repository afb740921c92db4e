// The four controls of the Launcher's agreement window. setup's preview repeats
// them, so both programs take them from here.
#pragma once

#include "window/form.h"

namespace agreement {

inline constexpr Font kMessageFont{L"Arial", 14.25, 400};

// The agreement message: white on black, lines centred, and disabled so the
// pupil can neither focus, edit, select nor scroll it.
inline ControlDesign MessageText(ControlId id, int left, int top) {
  return {.id = id, .kind = ControlKind::kTextBox, .left = left, .top = top, .width = 6255,
          .height = 3135, .font = kMessageFont, .back_colour = kBlack, .text_colour = kWhite,
          .enabled = false, .multi_line = true, .alignment = Alignment::kCentre};
}

inline ControlDesign AcceptanceOption(ControlId id, int left, int top, int width, bool enabled) {
  return {.id = id, .kind = ControlKind::kOptionButton, .left = left, .top = top, .width = width,
          .height = 615, .text = L"YES, I understand and I will use the Internet responsibly.",
          .font = kSansSerifBold, .enabled = enabled};
}

inline ControlDesign ConnectButton(ControlId id, int left, int top) {
  return {.id = id, .kind = ControlKind::kCommandButton, .left = left, .top = top, .width = 1215,
          .height = 495, .text = L"Connect", .font = kSansSerifBold, .enabled = false,
          .tool_tip = L"We have an understanding..."};
}

// Esc presses it, as a cancel button: it leaves without opening anything.
inline ControlDesign DontUnderstandButton(ControlId id, int left, int top, bool enabled) {
  return {.id = id, .kind = ControlKind::kCommandButton, .left = left, .top = top, .width = 1695,
          .height = 495, .text = L"I Don't Understand", .enabled = enabled,
          .tool_tip = L"Click this button and ask a teacher to explain this to you.",
          .cancel = true};
}

}  // namespace agreement
