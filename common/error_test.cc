#include "error.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>

#include "fake_platform.h"
#include "reports.h"
#include "texts.h"

TEST(FileAccessErrors, AreExactlyTheSevenFileConditions) {
  for (int32_t member : {53, 57, 62, 68, 70, 75, 76}) EXPECT_TRUE(IsFileAccessError(member));
  for (int32_t other : {0, 5, 7, 51, 52, 54, 55, 58, 61, 63, 67, 69, 71, 74, 77, 429, 430, -53}) {
    EXPECT_FALSE(IsFileAccessError(other)) << other;
  }
}

TEST(FileAccessErrors, CaughtNumberComesFromTheException) {
  auto number_of = [](auto thrower) {
    try {
      thrower();
    } catch (const std::exception&) {
      return CaughtErrorNumber();
    }
    return -1;
  };
  EXPECT_EQ(number_of([] { throw RunTimeError(70); }), 70);
  EXPECT_EQ(number_of([] { throw std::bad_alloc(); }), errors::kOutOfMemory);
  EXPECT_EQ(number_of([] { throw std::logic_error("x"); }), errors::kInternal);
}

// Each report after which a program ends: a failure is recorded as its event
// first, whether anyone watches or not; the box is shown only where someone
// can answer it; the program ends with the number reported.
TEST(Reports, AreRecordedAndShownOnlyWhereSomeoneWatches) {
  struct Case {
    const char* name;
    std::function<void(Platform&)> report;
    ShownMessage shown;
    std::optional<RecordedEvent> event;
    int32_t exit_code;
  };
  const std::wstring fatal =
      L"Error Code: 71 encountered.  This Launcher Setup program will now close.";
  const std::wstring unhandled = L"Run-time error '75':\n\nPath/File access error";
  const std::wstring refused = L"You need write access.";
  const Case cases[] = {
      {"fatal error",
       [](Platform& p) { ReportFatalError(p, texts::kSetupClosing, 71); },
       {fatal, L"Problem!", MessageIcon::kCritical},
       RecordedEvent{EventType::kError, 100, {L"setup.exe", L"Problem!", fatal, L"71"}},
       71},
      {"unhandled error",
       [](Platform& p) { ReportUnhandledError(p, L"netswitch", 75); },
       {unhandled, L"netswitch", MessageIcon::kCritical},
       RecordedEvent{EventType::kError, 101, {L"setup.exe", L"netswitch", unhandled, L"75"}},
       75},
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
      if (c.event) EXPECT_EQ(platform.log.front(), L"event " + std::to_wstring(c.event->id));
    }
  }
}

TEST(Reports, NegativeNumbersKeepTheirSignWithoutBlanks) {
  FakePlatform platform;
  EXPECT_THROW(ReportFatalError(platform, texts::kLauncherClosing, -2147024891), ProgramEnded);
  EXPECT_EQ(platform.messages.at(0).text,
            L"Error Code: -2147024891 encountered.  Kelbry's Browser Launcher program will now "
            L"close.");
  EXPECT_EQ(platform.exit_code, -2147024891);
}
