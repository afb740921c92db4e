#include "setup/settings_save.h"

#include <gtest/gtest.h>

#include <optional>

#include "common/error_of.h"
#include "common/fake_platform.h"
#include "common/share_failures.h"

namespace {

const std::wstring kPath = L"\\\\school\\apps\\launch\\Internet.cfg";
const std::wstring kTemporary = kPath + L".new";
const std::string kOld(2000, 'o');
const std::string kNew(2000, 'n');

class SaveFileSafelyTest : public testing::Test {
 protected:
  SaveFileSafelyTest() { platform_.files[kPath] = kOld; }

  // The error raised, or 0; no file may stay open either way.
  int32_t SaveError() {
    int32_t number = ErrorOf([&] { SaveFileSafely(platform_, kPath, kNew); });
    EXPECT_EQ(platform_.open_files, 0);
    return number;
  }
  bool Replaced() const {
    auto entry = L"replace " + kPath + L" " + kTemporary;
    return std::find(platform_.log.begin(), platform_.log.end(), entry) != platform_.log.end();
  }

  FakePlatform platform_;
};

}  // namespace

TEST_F(SaveFileSafelyTest, TemporaryFileTakesTheOldOnesPlace) {
  ASSERT_EQ(SaveError(), 0);
  EXPECT_TRUE(Replaced());
  EXPECT_EQ(platform_.files[kPath], kNew);
  EXPECT_FALSE(platform_.files.count(kTemporary));
}

TEST_F(SaveFileSafelyTest, WithoutANewFileOrItsReplacementTheFileIsOverwrittenInPlace) {
  platform_.open_read_write_errors[kTemporary] = errors::kPathFileAccess;
  ASSERT_EQ(SaveError(), 0);
  EXPECT_FALSE(Replaced());
  EXPECT_EQ(platform_.files[kPath], kNew);

  platform_ = FakePlatform();
  platform_.files[kPath] = kOld;
  platform_.replace_errors[kPath] = errors::kPathFileAccess;
  ASSERT_EQ(SaveError(), 0);
  EXPECT_EQ(platform_.files[kPath], kNew);
  EXPECT_FALSE(platform_.files.count(kTemporary));
}

// A folder without the file, which ReplaceFileW does not replace, and the
// swaps that fail before or part way: the file is written where it is, or
// made anew.
TEST_F(SaveFileSafelyTest, WhereTheSwapCannotBeMadeTheFileIsWrittenInPlace) {
  struct Case {
    const char* name;
    std::optional<ReplaceFailure> failure;
  };
  for (const Case& c : {Case{"no file yet", std::nullopt},
                        Case{"old file not removed", ReplaceFailure::kNothingMoved},
                        Case{"old file removed", ReplaceFailure::kReplacedRemoved},
                        Case{"old file renamed", ReplaceFailure::kReplacedRenamed},
                        Case{"access list not carried over",
                             ReplaceFailure::kAccessListNotWritten}}) {
    SCOPED_TRACE(c.name);
    platform_ = FakePlatform();
    if (c.failure) {
      platform_.files[kPath] = kOld;
      platform_.replace_failures[kPath] = *c.failure;
    }
    ASSERT_EQ(SaveError(), 0);
    EXPECT_TRUE(Replaced());
    EXPECT_EQ(platform_.files[kPath], kNew);
    EXPECT_FALSE(platform_.files.count(kTemporary));
  }
}

TEST_F(SaveFileSafelyTest, FailuresAreRaisedAndLeaveTheOldFile) {
  // The connection drops half way through the temporary file.
  platform_.write_errors_from[kTemporary] = {1000, errors::kDeviceIo};
  EXPECT_EQ(SaveError(), errors::kDeviceIo);
  EXPECT_EQ(platform_.files[kPath], kOld);
  EXPECT_FALSE(platform_.files.count(kTemporary));

  platform_.write_errors_from.clear();
  platform_.open_read_write_errors[kTemporary] = errors::kPathFileAccess;
  platform_.open_read_write_errors[kPath] = errors::kDeviceUnavailable;
  EXPECT_EQ(SaveError(), errors::kDeviceUnavailable);
  EXPECT_EQ(platform_.files[kPath], kOld);

  // Neither the swap nor the write in place: nothing is left behind.
  platform_.open_read_write_errors = {{kPath, errors::kPermissionDenied}};
  platform_.replace_errors[kPath] = errors::kPathFileAccess;
  EXPECT_EQ(SaveError(), errors::kPermissionDenied);
  EXPECT_EQ(platform_.files[kPath], kOld);
  EXPECT_FALSE(platform_.files.count(kTemporary));
}

// A share that fails is not trusted with a write in place, which could stop
// half way: only a refusal leads there.
TEST_F(SaveFileSafelyTest, FailingShareIsNotWrittenInPlace) {
  struct Step {
    std::map<std::wstring, int32_t> FakePlatform::*fails;
    std::wstring path;
  };
  for (const ShareFailure& failure : ShareFailures()) {
    for (const Step& step : {Step{&FakePlatform::open_read_write_errors, kTemporary},
                             Step{&FakePlatform::replace_errors, kPath}}) {
      SCOPED_TRACE(failure.what);
      platform_ = FakePlatform();
      platform_.files[kPath] = kOld;
      (platform_.*step.fails)[step.path] = failure.number;
      bool refused = failure.number == errors::kPathFileAccess ||
                     failure.number == errors::kPermissionDenied;
      EXPECT_EQ(SaveError(), refused ? 0 : failure.number);
      EXPECT_EQ(platform_.files[kPath], refused ? kNew : kOld);
      EXPECT_FALSE(platform_.files.count(kTemporary));
    }
  }
}
