#include "setup/server_path.h"

#include <gtest/gtest.h>

namespace {

// G: is connected to \\server\share; D: fails to resolve; other drives are local.
std::wstring PathOf(const std::wstring& folder) {
  return ServerPath(folder, [](const std::wstring& drive, std::wstring& remote) {
    if (drive == L"G:") {
      remote = L"\\\\server\\share";
      return 0;
    }
    EXPECT_NE(drive, L"\\\\") << "a UNC folder needs no resolving";
    remote = drive + L"\\";
    return drive == L"D:" ? 50 : 2250;
  });
}

}  // namespace

TEST(ServerPath, IsTheUncFormOfTheFolderWithOneTrailingBackslash) {
  EXPECT_EQ(PathOf(L"\\\\server\\share\\launch"), L"\\\\server\\share\\launch\\");
  EXPECT_EQ(PathOf(L"G:\\launch"), L"\\\\server\\share\\launch\\");
  EXPECT_EQ(PathOf(L"G:\\"), L"\\\\server\\share\\");
}

TEST(ServerPath, DeepFoldersKeepTheirWholePath) {
  std::wstring deep = L"\\school tools\\internet\\" + std::wstring(120, L'x') + L"\\launch";
  EXPECT_EQ(PathOf(L"G:" + deep), L"\\\\server\\share" + deep + L"\\");
}

TEST(ServerPath, DriveWithoutAShareIsNotAvailable) {
  EXPECT_EQ(PathOf(L"C:\\tools"), L"*Not Available*");
  EXPECT_EQ(PathOf(L"D:\\"), L"*Not Available*");
}
