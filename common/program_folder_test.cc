#include "program_folder.h"

#include <gtest/gtest.h>

TEST(ProgramFolder, LongPathAndWineFormsBecomePlain) {
  EXPECT_EQ(FolderOfModule(L"C:\\tools\\setup.exe"), L"C:\\tools");
  EXPECT_EQ(FolderOfModule(L"\\\\?\\C:\\tools\\setup.exe"), L"C:\\tools");
  EXPECT_EQ(FolderOfModule(L"\\\\?\\UNC\\server\\share\\launch\\setup.exe"),
            L"\\\\server\\share\\launch");
  EXPECT_EQ(FolderOfModule(L"UNC\\server\\share\\launch\\setup.exe"), L"\\\\server\\share\\launch");
  EXPECT_EQ(FolderOfModule(L"\\\\server\\share\\setup.exe"), L"\\\\server\\share");
}

TEST(ProgramFolder, OnlyADriveRootKeepsItsBackslash) {
  EXPECT_EQ(FolderOfModule(L"G:\\setup.exe"), L"G:\\");
  EXPECT_EQ(FolderOfModule(L"\\\\?\\G:\\setup.exe"), L"G:\\");
  EXPECT_EQ(WithTrailingBackslash(L"G:\\"), L"G:\\");
  EXPECT_EQ(WithTrailingBackslash(L"G:\\launch"), L"G:\\launch\\");
}

TEST(CommandLine, ArgumentsFollowTheProgramName) {
  EXPECT_EQ(ArgumentsOf(L"\"C:\\Program Files\\setup.exe\" /A"), L"/A");
  EXPECT_EQ(ArgumentsOf(L"\"\\\\?\\UNC\\srv\\share\\setup.exe\"   /a  "), L"/a  ");
  EXPECT_EQ(ArgumentsOf(L"setup.exe\t/A /Q"), L"/A /Q");
  EXPECT_EQ(ArgumentsOf(L"setup.exe"), L"");
  EXPECT_EQ(ArgumentsOf(L"\"setup.exe\""), L"");
}
