#include "error.h"

#include <gtest/gtest.h>

#include <new>
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

namespace {

// The number a program reports for what it caught.
int32_t NumberCaught(void (*thrower)()) {
  try {
    thrower();
  } catch (const std::exception&) {
    return CaughtErrorNumber();
  }
  return -1;
}

}  // namespace

// What the person at the screen reads, and the exit code that the process
// that started the program learns: the number reported.
TEST(Reports, NameTheNumberAndEndWithItAsTheExitCode) {
  struct Case {
    void (*report)(Platform&);
    ShownMessage shown;
    int32_t exit_code;
  };
  const Case cases[] = {
      {[](Platform& p) { ReportFatalError(p, texts::kSetupClosing, 71); },
       {L"Error Code: 71 encountered.  This Launcher Setup program will now close.", L"Problem!",
        MessageIcon::kCritical},
       71},
      {[](Platform& p) { ReportFatalError(p, texts::kLauncherClosing, -2147024891); },
       {L"Error Code: -2147024891 encountered.  Kelbry's Browser Launcher program will now close.",
        L"Problem!", MessageIcon::kCritical},
       -2147024891},
      {[](Platform& p) { ReportUnhandledError(p, L"netswitch", 75); },
       {L"Run-time error '75':\n\nPath/File access error", L"netswitch", MessageIcon::kCritical},
       75},
      // Exceptions that carry no number.
      {[](Platform& p) {
         ReportUnhandledError(p, L"setup", NumberCaught([] { throw std::bad_alloc(); }));
       },
       {L"Run-time error '7':\n\nOut of memory", L"setup", MessageIcon::kCritical},
       7},
      {[](Platform& p) {
         ReportUnhandledError(p, L"Internet", NumberCaught([] { throw std::logic_error("x"); }));
       },
       {L"Run-time error '51':\n\nInternal error", L"Internet", MessageIcon::kCritical},
       51},
  };
  for (const Case& c : cases) {
    FakePlatform platform;
    EXPECT_THROW(c.report(platform), ProgramEnded);
    EXPECT_EQ(platform.messages, std::vector{c.shown});
    EXPECT_EQ(platform.exit_code, c.exit_code) << c.exit_code;
  }
}
