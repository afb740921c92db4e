#include "blanks.h"

#include <gtest/gtest.h>

TEST(Blanks, TrimmingRemovesBlanksOnlyNeverTabsOrLineBreaks) {
  EXPECT_EQ(TrimBlanks(L"  \tN\t  "), L"\tN\t");
  EXPECT_EQ(RightTrimBlanks(L"  message\r\n  "), L"  message\r\n");
  EXPECT_EQ(TrimBlanks(L"     "), L"");
  EXPECT_EQ(RightTrimBlanks(L""), L"");
}

TEST(Blanks, UpperCaseOfTheUnattendedSwitch) { EXPECT_EQ(ToUpper(L" /a "), L" /A "); }
