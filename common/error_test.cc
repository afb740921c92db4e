#include "error.h"

#include <gtest/gtest.h>

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

TEST(Reports, FatalErrorNamesTheNumberAndEndsTheProgram) {
  FakePlatform platform;
  EXPECT_THROW(ReportFatalError(platform, texts::kSetupClosing, 71), ProgramEnded);
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_EQ(platform.messages[0],
            (ShownMessage{L"Error Code: 71 encountered.  This Launcher Setup program will now close.",
                          L"Problem!", MessageIcon::kCritical}));
}

TEST(Reports, NegativeNumbersKeepTheirSignWithoutBlanks) {
  FakePlatform platform;
  EXPECT_THROW(ReportFatalError(platform, texts::kLauncherClosing, -2147024891), ProgramEnded);
  EXPECT_EQ(platform.messages.at(0).text,
            L"Error Code: -2147024891 encountered.  Kelbry's Browser Launcher program will now "
            L"close.");
  EXPECT_EQ(platform.exit_code, -2147024891);
}

TEST(Reports, UnhandledErrorNamesNumberAndDescription) {
  FakePlatform platform;
  EXPECT_THROW(ReportUnhandledError(platform, L"netswitch", 75), ProgramEnded);
  EXPECT_EQ(platform.messages.at(0),
            (ShownMessage{L"Run-time error '75':\n\nPath/File access error", L"netswitch",
                          MessageIcon::kCritical}));
}
