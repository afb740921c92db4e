// The switch's only window: STOP and ReSTART with their pictures, the current
// setting in a frame, Quit and a credit line.
#pragma once

#include "window/form.h"

enum SwitchControl : ControlId {
  kCommand1 = 101,  // Quit
  kLabel1,          // credit line
  kPicture1,        // stop sign
  kPicture2,        // green traffic light
  kCommand2,        // STOP
  kCommand3,        // ReSTART
  kFrame1,          // "Current Setting:"
  kLabel2,          // RUNNING or STOPPED
  kLine1,
};

inline constexpr int kTrafficLightIcon = 1;
inline constexpr int kStopSignIcon = 2;
inline constexpr int kGreenLightIcon = 3;

const FormDesign& SwitchForm();
