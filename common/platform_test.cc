// The platform services against real files and folders: natively the POSIX
// implementation, under Wine the Win32 one.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <random>

#include "error.h"
#include "error_of.h"
#include "switch_file.h"
#ifdef _WIN32
#include "platform_win32.h"
using RealPlatform = Win32Platform;
constexpr const wchar_t* kThisProgram = L"platform_tests.exe";
#else
#include "platform_posix.h"
using RealPlatform = PosixPlatform;
constexpr const wchar_t* kThisProgram = L"platform_tests";
#endif

namespace fs = std::filesystem;

namespace {

class RealFiles : public testing::Test {
 protected:
  void SetUp() override {
    std::random_device random;
    folder_ = fs::temp_directory_path() / ("platform-test-" + std::to_string(random()));
    fs::create_directories(folder_);
  }
  void TearDown() override { fs::remove_all(folder_); }

  std::wstring Path(const std::wstring& name) const { return folder_.wstring() + L"\\" + name; }
  std::string Contents(const std::wstring& name) {
    auto file = platform_.Open(Path(name), OpenMode::kRead);
    return file->ReadAt(0, static_cast<size_t>(file->Length()));
  }
  void Store(const std::wstring& name, std::string_view bytes) {
    platform_.Open(Path(name), OpenMode::kOutput)->WriteAt(0, bytes);
  }

  fs::path folder_;
  RealPlatform platform_;
};

// A folder prepared by the test harness that the user may read but not write,
// holding one read-only file, "readonly.txt". Only an unprivileged user is
// refused: for an administrator, or without the folder, the tests are skipped,
// which ctest lists as such.
class LockedFolder : public RealFiles {
 protected:
  void SetUp() override {
    RealFiles::SetUp();
    const char* locked = std::getenv("LAUNCHER_TEST_LOCKED_DIR");
    if (!locked) GTEST_SKIP() << "LAUNCHER_TEST_LOCKED_DIR is not set";
    locked_ = fs::path(locked).wstring();
    try {
      platform_.Open(locked_ + L"\\probe", OpenMode::kReadWrite);
    } catch (const RunTimeError&) {
      return;
    }
    platform_.Delete(locked_ + L"\\probe");
    GTEST_SKIP() << "this user may write everywhere";
  }
  std::wstring locked_;
};

}  // namespace

TEST_F(RealFiles, ModesCreateReadAndEmptyFiles) {
  EXPECT_EQ(platform_.Open(Path(L"new"), OpenMode::kReadWrite)->Length(), 0);
  EXPECT_EQ(Contents(L"new"), "");
  Store(L"new", "Y\r\nlonger content");
  {
    auto file = platform_.Open(Path(L"new"), OpenMode::kReadWrite);
    file->WriteAt(3, "L");
    EXPECT_EQ(file->ReadAt(0, 100), "Y\r\nLonger content");
    EXPECT_EQ(file->ReadAt(400, 10), "");
  }
  Store(L"new", "N\r\n");
  EXPECT_EQ(Contents(L"new"), "N\r\n");
}

TEST_F(RealFiles, MissingFilesAndFoldersHaveTheirNumbers) {
  EXPECT_EQ(ErrorOf([&] { platform_.Open(Path(L"absent"), OpenMode::kRead); }), 53);
  for (OpenMode mode : {OpenMode::kRead, OpenMode::kReadWrite, OpenMode::kOutput}) {
    EXPECT_EQ(ErrorOf([&] { platform_.Open(Path(L"no\\such\\file"), mode); }), 76);
  }
  EXPECT_EQ(ErrorOf([&] { platform_.Delete(Path(L"absent")); }), 53);
  EXPECT_EQ(ErrorOf([&] { platform_.Copy(Path(L"absent"), Path(L"copy")); }), 53);
  EXPECT_EQ(ErrorOf([&] { platform_.Start(Path(L"absent.exe"), 1); }), 53);
  EXPECT_TRUE(platform_.FolderExists(folder_.wstring()));
  EXPECT_FALSE(platform_.FolderExists(Path(L"no\\such")));
  EXPECT_FALSE(platform_.FolderExists(Path(L"no\\such\\folder")));
}

TEST_F(RealFiles, PathThroughAFileIsPathNotFound) {
  Store(L"plain", "x");
  EXPECT_FALSE(platform_.FolderExists(Path(L"plain")));
  EXPECT_FALSE(platform_.FolderExists(Path(L"plain\\folder")));
  EXPECT_EQ(ErrorOf([&] { platform_.Open(Path(L"plain\\Internet.cfg"), OpenMode::kReadWrite); }), 76);
}

TEST_F(RealFiles, FolderOpenedAsFileIsAnAccessError) {
  fs::create_directories(folder_ / "Internet.cfg");
  EXPECT_EQ(ErrorOf([&] { platform_.Open(Path(L"Internet.cfg"), OpenMode::kRead); }), 75);
  EXPECT_EQ(ErrorOf([&] { platform_.Open(Path(L"Internet.cfg"), OpenMode::kReadWrite); }), 75);
}

TEST_F(RealFiles, ReadingALineOfAnEmptyFileIsInputPastEnd) {
  Store(L"Internet.set", "");
  EXPECT_EQ(ErrorOf([&] { ReadSwitchFirstLine(platform_, Path(L"Internet.set")); }), 62);
  Store(L"Internet.set", " N \r\n");
  EXPECT_EQ(ReadSwitchFirstLine(platform_, Path(L"Internet.set")), AccessSwitch::kStopped);
}

TEST_F(RealFiles, CopyAndReplaceOverwriteTheirTargets) {
  Store(L"a", "new contents");
  Store(L"b", "old and longer contents");
  platform_.Copy(Path(L"a"), Path(L"b"));
  EXPECT_EQ(Contents(L"b"), "new contents");
  Store(L"c", "replacement");
  platform_.Replace(Path(L"b"), Path(L"c"));
  EXPECT_EQ(Contents(L"b"), "replacement");
  EXPECT_EQ(ErrorOf([&] { Contents(L"c"); }), 53);
}

// The programs append a backslash and a file name to it.
TEST_F(RealFiles, ProgramFolderHoldsTheRunningProgram) {
  std::wstring folder = platform_.ProgramFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_NE(folder.find_last_of(L"\\/"), folder.size() - 1) << fs::path(folder).string();
  EXPECT_GT(platform_.Open(folder + L"\\" + kThisProgram, OpenMode::kRead)->Length(), 0);
  EXPECT_EQ(platform_.EnvironmentValue(L"LAUNCHER_SURELY_UNSET_VARIABLE"), L"");
}

TEST_F(LockedFolder, RefusesNewFilesWritesAndDeletes) {
  EXPECT_EQ(ErrorOf([&] { platform_.Open(locked_ + L"\\Internet.set", OpenMode::kReadWrite); }), 75);
  EXPECT_EQ(ErrorOf([&] { platform_.Open(locked_ + L"\\Internet.set", OpenMode::kOutput); }), 75);
  EXPECT_EQ(ErrorOf([&] { platform_.Open(locked_ + L"\\readonly.txt", OpenMode::kReadWrite); }), 75);
  EXPECT_EQ(ErrorOf([&] { platform_.Delete(locked_ + L"\\readonly.txt"); }), 75);
  EXPECT_EQ(platform_.Open(locked_ + L"\\readonly.txt", OpenMode::kRead)->Length(), 3);
}

#ifdef _WIN32
TEST_F(RealFiles, DownloadMarkIsRemovedAndItsFileKept) {
  Store(L"Internet.exe", "MZ");
  Store(L"Internet.exe:Zone.Identifier", "[ZoneTransfer]\r\nZoneId=3\r\n");
  platform_.RemoveDownloadMark(Path(L"Internet.exe"));
  EXPECT_EQ(ErrorOf([&] { Contents(L"Internet.exe:Zone.Identifier"); }), 53);
  EXPECT_EQ(Contents(L"Internet.exe"), "MZ");
  EXPECT_EQ(ErrorOf([&] { platform_.RemoveDownloadMark(Path(L"Internet.exe")); }), 0);
}

TEST_F(RealFiles, ShareThatDoesNotExistIsAFileAccessError) {
  int32_t number = ErrorOf([&] {
    platform_.Open(L"\\\\NOSUCHSERVER\\noshare\\Internet.set", OpenMode::kRead);
  });
  EXPECT_TRUE(IsFileAccessError(number)) << number;
}
#endif
