// setup's only window: the editors of the three settings, a disabled preview
// of the Launcher's window, the server path and the action buttons.
#pragma once

#include "window/form.h"

enum SetupControl : ControlId {
  kFrame1 = 101,  // holds the preview
  kText1,         // preview: the agreement message
  kCommand2,      // preview: I Don't Understand
  kCommand1,      // preview: Connect
  kOption1,       // preview: the acceptance option
  kText2,         // agreement message, record 1
  kCommand3,      // &Update Preview
  kCommand4,      // Reset &Defaults
  kLabel1,
  kText3,         // acceptance prompt, record 2
  kLabel2,
  kText4,         // server path, record 4
  kLabel3,
  kText5,         // start page, record 3
  kLabel4,
  kCommand5,      // Setup My &New Browser Launcher!
  kLabel5,        // example start pages
  kCommand6,      // &Save Settings
  kCommand7,      // &Quit
  kLabel6,        // credit line
};

inline constexpr int kSetupIcon = 1;

const FormDesign& SetupForm();
