// The Launcher's only window: the agreement message, the acceptance option,
// Connect and "I Don't Understand".
#pragma once

#include "window/form.h"

enum LauncherControl : ControlId {
  kText1 = 101,  // the agreement message
  kOption1,      // the acceptance option
  kCommand1,     // Connect
  kCommand2,     // I Don't Understand
};

inline constexpr int kLauncherIcon = 1;

const FormDesign& AgreementForm();
