#include "launcher/agreement_form.h"

#include "agreement/agreement_controls.h"

const FormDesign& AgreementForm() {
  static const FormDesign form{
      .caption = L"You'd Like to Access the Internet?",
      .left = 2820,
      .top = 2640,
      .client_width = 6510,
      .client_height = 4140,
      .back_colour = std::nullopt,
      .icon = kLauncherIcon,
      .controls = {agreement::MessageText(kText1, 120, 120),
                   agreement::AcceptanceOption(kOption1, 360, 3360, 2655, true),
                   agreement::ConnectButton(kCommand1, 3120, 3480),
                   agreement::DontUnderstandButton(kCommand2, 4680, 3480, true)},
  };
  return form;
}
