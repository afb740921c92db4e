#include "error.h"

#include <gtest/gtest.h>

#include <functional>
#include <new>
#include <optional>
#include <stdexcept>

#include "fake_platform.h"
#include "reports.h"
#include "texts.h"

TEST(FileAccessErrors, AreExactlyTheSevenFileConditions) {
  for (int32_t member : {53, 57, 62, 68, 70, 75, 76}) EXPECT_TRUE(IsFileAccessError(member));
  for (int32_t other : {0, 5, 7, 51, 52, 54, 55, 58, 61, 63, 67, 69, 71, 74, 77, 429, 430, -53}) {
    EXPECT_FALSE(IsFileAccessError(other)) << other;
  }
}

// Each report after which a program ends: what the person at the screen
// reads, shown only where someone can answer it; a failure recorded as its
// event first, whether anyone watches or not; and the exit code that tells
// whoever started the program: the number reported. An exception that carries
// no number, caught as the programs catch it, is out of memory or internal.
TEST(Reports, AreRecordedAndShownOnlyWhereSomeoneWatches) {
  struct Case {
    const char* name;
    std::function<void(Platform&)> report;
    ShownMessage shown;
    std::optional<RecordedEvent> event;
    int32_t exit_code;
  };
  auto unhandled_caught = [](auto exception, const wchar_t* program) {
    return [=](Platform& p) {
      try {
        throw exception;
      } catch (const std::exception&) {
        ReportUnhandledError(p, program, CaughtErrorNumber());
      }
    };
  };
  const std::wstring fatal =
      L"Error Code: 71 encountered.  This Launcher Setup program will now close.";
  const std::wstring negative =
      L"Error Code: -2147024891 encountered.  Kelbry's Browser Launcher program will now close.";
  const std::wstring unhandled = L"Run-time error '75':\n\nPath/File access error";
  const std::wstring out_of_memory = L"Run-time error '7':\n\nOut of memory";
  const std::wstring internal = L"Run-time error '51':\n\nInternal error";
  const std::wstring refused = L"You need write access.";
  const Case cases[] = {
      {"fatal error",
       [](Platform& p) { ReportFatalError(p, texts::kSetupClosing, 71); },
       {fatal, L"Problem!", MessageIcon::kCritical},
       RecordedEvent{EventType::kError, 100, {L"setup.exe", L"Problem!", fatal, L"71"}},
       71},
      {"fatal error with a negative number",
       [](Platform& p) { ReportFatalError(p, texts::kLauncherClosing, -2147024891); },
       {negative, L"Problem!", MessageIcon::kCritical},
       RecordedEvent{EventType::kError, 100,
                     {L"setup.exe", L"Problem!", negative, L"-2147024891"}},
       -2147024891},
      {"unhandled error",
       [](Platform& p) { ReportUnhandledError(p, L"netswitch", 75); },
       {unhandled, L"netswitch", MessageIcon::kCritical},
       RecordedEvent{EventType::kError, 101, {L"setup.exe", L"netswitch", unhandled, L"75"}},
       75},
      {"unhandled out of memory",
       unhandled_caught(std::bad_alloc(), L"setup"),
       {out_of_memory, L"setup", MessageIcon::kCritical},
       RecordedEvent{EventType::kError, 101, {L"setup.exe", L"setup", out_of_memory, L"7"}},
       7},
      {"unhandled exception without a number",
       unhandled_caught(std::logic_error("x"), L"Internet"),
       {internal, L"Internet", MessageIcon::kCritical},
       RecordedEvent{EventType::kError, 101, {L"setup.exe", L"Internet", internal, L"51"}},
       51},
      {"refused access",
       [&](Platform& p) {
         ReportFailureAndEnd(p, events::kNoWriteAccess,
                             {refused, L"Sorry!", MessageIcon::kExclamation}, 70);
       },
       {refused, L"Sorry!", MessageIcon::kExclamation},
       RecordedEvent{EventType::kWarning, 104, {L"setup.exe", L"Sorry!", refused, L"70"}},
       70},
      {"refusal, no failure",
       [](Platform& p) {
         ReportAndEnd(p, {L"Closed.", L"Sorry", MessageIcon::kExclamation});
       },
       {L"Closed.", L"Sorry", MessageIcon::kExclamation},
       std::nullopt,
       0},
  };
  for (const Case& c : cases) {
    for (bool watched : {true, false}) {
      SCOPED_TRACE(std::string(c.name) + (watched ? ", watched" : ", not watched"));
      FakePlatform platform;
      platform.program_file_name = L"setup.exe";
      platform.watched = watched;
      EXPECT_THROW(c.report(platform), ProgramEnded);
      EXPECT_EQ(platform.messages,
                watched ? std::vector<ShownMessage>{c.shown} : std::vector<ShownMessage>{});
      EXPECT_EQ(platform.events,
                c.event ? std::vector<RecordedEvent>{*c.event} : std::vector<RecordedEvent>{});
      EXPECT_EQ(platform.exit_code, c.exit_code);
      if (c.event) {
        EXPECT_EQ(platform.log.front(), L"event " + std::to_wstring(c.event->id));
      }
    }
  }
}
