#include "setup/setup_form.h"

#include "agreement/agreement_controls.h"

namespace {

constexpr Font kLargeBold{L"MS Sans Serif", 9.75, 700};

constexpr Colour kLightYellow = 0x80FFFF;
constexpr Colour kLightOrange = 0x80C0FF;

// Labels sit on the grey window without a box of their own.
ControlDesign Label(ControlId id, int left, int top, int width, int height, const wchar_t* text,
                  Font font, Colour colour, Alignment alignment = Alignment::kLeft) {
  return {.id = id, .kind = ControlKind::kLabel, .left = left, .top = top, .width = width,
          .height = height, .text = text, .font = font, .back_colour = kMidGrey,
          .text_colour = colour, .alignment = alignment};
}

// No scroll bars and no length limit; a multi-line box keeps the CR LF pairs
// typed into it.
ControlDesign TextBox(ControlId id, int left, int top, int width, int height, bool multi_line,
                    bool enabled = true) {
  return {.id = id, .kind = ControlKind::kTextBox, .left = left, .top = top, .width = width,
          .height = height, .enabled = enabled, .multi_line = multi_line};
}

ControlDesign Button(ControlId id, int left, int top, int width, int height, const wchar_t* text,
                   Font font = kSansSerif) {
  return {.id = id, .kind = ControlKind::kCommandButton, .left = left, .top = top, .width = width,
          .height = height, .text = text, .font = font};
}

ControlDesign InPreview(ControlDesign control) {
  control.container = kFrame1;
  return control;
}

}  // namespace

const FormDesign& SetupForm() {
  static const FormDesign form{
      .caption = L"Setup Kelbry's Internet Browser Launcher for Schools",
      .left = 1680,
      .top = 1485,
      .client_width = 10350,
      .client_height = 6225,
      .back_colour = kMidGrey,
      .icon = kSetupIcon,
      .controls = {
          {.id = kFrame1, .kind = ControlKind::kFrame, .left = 3480, .top = 600, .width = 6735,
           .height = 4455, .text = L"Preview of Browser Launcher Screen:", .font = kLargeBold},
          // The Launcher's four controls, all disabled: in the frame they sit 240
          // twips lower than in the Launcher's window, the message also 120
          // further right, and the option is narrower.
          InPreview(agreement::MessageText(kText1, 240, 360)),
          InPreview(agreement::DontUnderstandButton(kCommand2, 4680, 3720, false)),
          InPreview(agreement::ConnectButton(kCommand1, 3120, 3720)),
          InPreview(agreement::AcceptanceOption(kOption1, 360, 3600, 2535, false)),
          TextBox(kText2, 120, 840, 3135, 2535, true),
          Button(kCommand3, 120, 4680, 1455, 375, L"&Update Preview"),
          Button(kCommand4, 1800, 4680, 1455, 375, L"Reset &Defaults"),
          Label(kLabel1, 120, 600, 2655, 255, L"Enter Desired Message:", kSansSerifBold, kWhite),
          TextBox(kText3, 120, 3840, 3135, 495, true),
          Label(kLabel2, 120, 3600, 3135, 255, L"Enter Desired Acceptance Prompt:",
                kSansSerifBold, kWhite),
          TextBox(kText4, 3720, 120, 6255, 285, false, false),
          Label(kLabel3, 120, 120, 3615, 255, L"Server Path for Browser Launcher Setup Program:",
                kSansSerif, kWhite),
          TextBox(kText5, 3840, 5280, 3735, 285, false),
          Label(kLabel4, 120, 5160, 3615, 495,
                L"Please specify default webpage to launch once the agreement is accepted:",
                kSansSerifBold, kWhite, Alignment::kRight),
          Button(kCommand5, 8760, 5160, 1455, 975, L"Setup My &New Browser Launcher!",
                 kSansSerifBold),
          Label(kLabel5, 3840, 5640, 3735, 255, L"eg. www.kelbry.com or G:\\Intranet\\index.htm",
                kSansSerif, kLightYellow),
          Button(kCommand6, 7680, 5160, 975, 615, L"&Save Settings"),
          Button(kCommand7, 7680, 5880, 975, 255, L"&Quit"),
          Label(kLabel6, 120, 5880, 7575, 255,
                L"Kelbry's Internet Browser Launcher for Schools  -  www.kelbry.com", kLargeBold,
                kLightOrange),
      },
  };
  return form;
}
