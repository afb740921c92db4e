#include "switch/switch_form.h"

namespace {
constexpr Colour kNavy = 0x400000;
}

const FormDesign& SwitchForm() {
  static const FormDesign form{
      .caption = L"Kelbry's Internet On/Off Switch",
      .left = 2985,
      .top = 2805,
      .client_width = 4680,
      .client_height = 3000,
      .back_colour = kMidGrey,
      .icon = kTrafficLightIcon,
      .controls = {
          {.id = kCommand1, .kind = ControlKind::kCommandButton, .left = 3600, .top = 2280,
           .width = 855, .height = 375, .text = L"&Quit"},
          {.id = kLabel1, .kind = ControlKind::kLabel, .left = 120, .top = 2760, .width = 4455,
           .height = 255, .text = L"Kelbry's Browser Launcher for Schools",
           .font = kSansSerifBold, .back_colour = kMidGrey, .text_colour = kNavy,
           .alignment = Alignment::kCentre},
          {.id = kPicture1, .kind = ControlKind::kPictureBox, .left = 3840, .top = 240,
           .width = 615, .height = 615, .back_colour = kMidGrey, .icon = kStopSignIcon},
          {.id = kPicture2, .kind = ControlKind::kPictureBox, .left = 3840, .top = 1200,
           .width = 735, .height = 615, .back_colour = kMidGrey, .icon = kGreenLightIcon},
          {.id = kCommand2, .kind = ControlKind::kCommandButton, .left = 120, .top = 360,
           .width = 3615, .height = 375, .text = L"STOP Internet Access via Kelbry's Launcher"},
          {.id = kCommand3, .kind = ControlKind::kCommandButton, .left = 120, .top = 1200,
           .width = 3615, .height = 375,
           .text = L"ReSTART Internet Access via Kelbry's Launcher"},
          {.id = kFrame1, .kind = ControlKind::kFrame, .left = 840, .top = 1800, .width = 1815,
           .height = 855, .text = L"Current Setting:", .back_colour = kMidGrey},
          {.id = kLabel2, .kind = ControlKind::kLabel, .left = 120, .top = 360, .width = 1575,
           .height = 375, .text = L"RUNNING", .font = {L"Arial", 12, 700}, .container = kFrame1,
           .back_colour = kMidGrey, .text_colour = kWhite, .alignment = Alignment::kCentre},
          {.id = kLine1, .kind = ControlKind::kLine, .left = 120, .top = 960, .width = 4200,
           .height = 0, .text_colour = kWhite},
      },
  };
  return form;
}
