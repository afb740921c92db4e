#include "reports.h"

#include "error.h"

namespace {

void ShowIfWatched(Platform& platform, const Report& report) {
  if (platform.Watched()) platform.ShowMessage(report.text, report.title, report.icon);
}

}  // namespace

// The event is written before the box is shown: a deployment tool that gives
// up waiting and ends the program still leaves it behind.
void ReportFailure(Platform& platform, EventKind kind, const Report& report, int32_t number) {
  platform.RecordEvent(
      kind.type, kind.id,
      {platform.ProgramFileName(), report.title, report.text, std::to_wstring(number)});
  ShowIfWatched(platform, report);
}

void ReportFailureAndEnd(Platform& platform, EventKind kind, const Report& report, int32_t number) {
  ReportFailure(platform, kind, report, number);
  platform.EndProgram(number);
}

void ReportAndEnd(Platform& platform, const Report& report) {
  ShowIfWatched(platform, report);
  platform.EndProgram();
}

void ReportFatalError(Platform& platform, const std::wstring& closing_sentence, int32_t number) {
  ReportFailureAndEnd(platform, events::kFatalError,
                      {L"Error Code: " + std::to_wstring(number) + closing_sentence, L"Problem!",
                       MessageIcon::kCritical},
                      number);
}

void ReportUnhandledError(Platform& platform, const std::wstring& program_name, int32_t number) {
  ReportFailureAndEnd(
      platform, events::kUnhandledError,
      {L"Run-time error '" + std::to_wstring(number) + L"':\n\n" + ErrorDescription(number),
       program_name, MessageIcon::kCritical},
      number);
}

// Laid out as the reports' events are, the number fourth, so that one query
// reads them all alike.
void RecordLetIn(Platform& platform, const std::wstring& switch_path, int32_t number) {
  platform.RecordEvent(
      events::kLetIn.type, events::kLetIn.id,
      {platform.ProgramFileName(), L"The access switch could not be read, so the pupil was let in.",
       switch_path, std::to_wstring(number), ErrorDescription(number)});
}
