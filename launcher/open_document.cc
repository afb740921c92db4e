#include "launcher/open_document.h"

void OpenDocument(Shell& shell, Platform& platform, const std::wstring& operation,
                  const std::wstring& document, const std::optional<std::wstring>& parameters,
                  const std::optional<std::wstring>& directory, int32_t show) {
  if (shell.Execute(operation, document, parameters, directory, show) == kNoAssociation) {
    // The document goes on the command line as it is: unquoted, nothing after.
    platform.Start(L"rundll32.exe shell32.dll,OpenAs_RunDLL " + document, 1);
  }
}
