#include "reports.h"

#include "error.h"

void ReportFatalError(Platform& platform, const std::wstring& closing_sentence, int32_t number) {
  platform.ShowMessage(L"Error Code: " + std::to_wstring(number) + closing_sentence, L"Problem!",
                       MessageIcon::kCritical);
  platform.EndProgram(number);
}

void ReportUnhandledError(Platform& platform, const std::wstring& program_name, int32_t number) {
  platform.ShowMessage(L"Run-time error '" + std::to_wstring(number) + L"':\n\n" +
                           ErrorDescription(number),
                       program_name, MessageIcon::kCritical);
  platform.EndProgram(number);
}
