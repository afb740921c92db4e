// The reports after which a program ends, with the reported number as its exit
// code. A report of a failure is also one event of the Application log, so
// that it leaves a trace where nobody sits at the computer; and where nobody
// can see a message box none is shown, and the program ends at once.
#pragma once

#include <cstdint>
#include <string>

#include "platform.h"

// A message box's text, title and icon.
struct Report {
  std::wstring text;
  std::wstring title;
  MessageIcon icon;
};

// The event of each kind of failure: its type and an id of its own, which the
// administrator's guide lists.
struct EventKind {
  EventType type;
  uint16_t id;
};

namespace events {
inline constexpr EventKind kFatalError{EventType::kError, 100};
inline constexpr EventKind kUnhandledError{EventType::kError, 101};
inline constexpr EventKind kIncomplete{EventType::kError, 102};
inline constexpr EventKind kUpdateStarted{EventType::kWarning, 103};
inline constexpr EventKind kNoWriteAccess{EventType::kWarning, 104};
inline constexpr EventKind kLetIn{EventType::kWarning, 200};
}  // namespace events

// Records the failure as an event (the program's file name, the report's
// title and text, the number), then shows the report to whoever can see it.
void ReportFailure(Platform& platform, EventKind kind, const Report& report, int32_t number);

// ReportFailure, then the program ends with the number.
[[noreturn]] void ReportFailureAndEnd(Platform& platform, EventKind kind, const Report& report,
                                      int32_t number);

// A report that is no failure (a refusal, a completion), then the program
// ends with 0.
[[noreturn]] void ReportAndEnd(Platform& platform, const Report& report);

// "Error Code: <number><closing sentence>" titled "Problem!" with the critical
// icon; then the program ends. Files are closed by then: each routine holds its
// file only in the scope that opened it, and the error has left that scope.
[[noreturn]] void ReportFatalError(Platform& platform, const std::wstring& closing_sentence,
                                   int32_t number);

// The run-time's report of an error that no handler caught: the error number
// and its description, titled with the program's name; then the program ends.
[[noreturn]] void ReportUnhandledError(Platform& platform, const std::wstring& program_name,
                                       int32_t number);

// The Launcher let the pupil in because the access switch at `switch_path`
// could not be read: a warning event with the path, the number and its
// description. Nothing is shown.
void RecordLetIn(Platform& platform, const std::wstring& switch_path, int32_t number);
