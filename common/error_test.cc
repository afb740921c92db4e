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

// What the person at the screen reads, and the exit code that tells whoever
// started the program: the number reported. An exception that carries no
// number, caught as the programs catch it, is out of memory or internal.
TEST(Reports, NameTheNumberAndEndWithIt) {
  struct Case {
    void (*report)(Platform&);
    const wchar_t* text;
    const wchar_t* title;
    int32_t number;
  };
  const Case cases[] = {
      {[](Platform& p) { ReportFatalError(p, texts::kSetupClosing, 71); },
       L"Error Code: 71 encountered.  This Launcher Setup program will now close.", L"Problem!", 71},
      {[](Platform& p) { ReportFatalError(p, texts::kLauncherClosing, -2147024891); },
       L"Error Code: -2147024891 encountered.  Kelbry's Browser Launcher program will now close.",
       L"Problem!", -2147024891},
      {[](Platform& p) { ReportUnhandledError(p, L"netswitch", 75); },
       L"Run-time error '75':\n\nPath/File access error", L"netswitch", 75},
      {[](Platform& p) {
         try {
           throw std::bad_alloc();
         } catch (const std::exception&) {
           ReportUnhandledError(p, L"setup", CaughtErrorNumber());
         }
       },
       L"Run-time error '7':\n\nOut of memory", L"setup", 7},
      {[](Platform& p) {
         try {
           throw std::logic_error("x");
         } catch (const std::exception&) {
           ReportUnhandledError(p, L"Internet", CaughtErrorNumber());
         }
       },
       L"Run-time error '51':\n\nInternal error", L"Internet", 51},
  };
  for (const Case& c : cases) {
    FakePlatform platform;
    EXPECT_THROW(c.report(platform), ProgramEnded);
    EXPECT_EQ(platform.messages,
              (std::vector<ShownMessage>{{c.text, c.title, MessageIcon::kCritical}}));
    EXPECT_EQ(platform.exit_code, c.number);
  }
}
