#include "switch_file.h"

#include <gtest/gtest.h>

#include <optional>

#include "error.h"
#include "error_of.h"
#include "fake_platform.h"

namespace {

const std::wstring kPath = L"\\\\srv\\share\\Internet.set";

struct Reading {
  const char* content;  // nullptr: no file
  size_t length;
  AccessSwitch first_byte;  // the switch tool's reading (after creating a missing file)
  std::optional<AccessSwitch> first_line;  // the Launcher's reading; none: an error
};

constexpr auto kRunning = AccessSwitch::kRunning;
constexpr auto kStopped = AccessSwitch::kStopped;

class BothReaders : public testing::TestWithParam<Reading> {};

}  // namespace

TEST_P(BothReaders, DecideRunningOrStopped) {
  const Reading& reading = GetParam();
  FakePlatform platform;
  if (reading.content) platform.files[kPath] = std::string(reading.content, reading.length);

  std::optional<AccessSwitch> launcher;
  try {
    launcher = ReadSwitchFirstLine(platform, kPath);
  } catch (const RunTimeError& e) {
    EXPECT_TRUE(IsFileAccessError(e.number())) << e.number();
  }
  EXPECT_EQ(launcher, reading.first_line);
  EXPECT_EQ(platform.open_files, 0);

  auto file = platform.Open(kPath, OpenMode::kReadWrite);
  EXPECT_EQ(ReadSwitchFirstByte(*file), reading.first_byte);
}

INSTANTIATE_TEST_SUITE_P(
    Contents, BothReaders,
    testing::Values(Reading{nullptr, 0, kRunning, std::nullopt},
                    Reading{"", 0, kRunning, std::nullopt},
                    Reading{"N\r\n", 3, kStopped, kStopped},
                    Reading{"Y\r\n", 3, kRunning, kRunning},
                    Reading{"N", 1, kStopped, kStopped},
                    Reading{"N   \r\n", 6, kStopped, kStopped},
                    Reading{"  N  \r\n", 7, kRunning, kStopped},
                    Reading{"NO\r\n", 4, kStopped, kRunning},
                    Reading{"n\r\n", 3, kRunning, kRunning},
                    Reading{"N\n", 2, kStopped, kRunning},
                    Reading{"\tN\r\n", 4, kRunning, kRunning},
                    Reading{"N\rNO\r\n", 6, kStopped, kStopped},
                    Reading{"\r\nN\r\n", 5, kRunning, kRunning},
                    Reading{"N\0\r\n", 4, kStopped, kRunning}));

TEST(SwitchFile, MissingAndEmptyFilesRaiseTheirNumbersForTheLauncher) {
  FakePlatform platform;
  EXPECT_EQ(ErrorOf([&] { ReadSwitchFirstLine(platform, kPath); }), errors::kFileNotFound);
  platform.files[kPath] = "";
  EXPECT_EQ(ErrorOf([&] { ReadSwitchFirstLine(platform, kPath); }), errors::kInputPastEnd);
  EXPECT_EQ(platform.files.count(kPath), 1u);
}

TEST(SwitchFile, FirstLineSpansReadChunks) {
  FakePlatform platform;
  std::string line(1500, 'N');
  platform.files[kPath] = line + "\r\nrest";
  EXPECT_EQ(ReadFirstLine(*platform.Open(kPath, OpenMode::kRead)), line);
}

TEST(SwitchFile, WritingReplacesTheWholeFile) {
  FakePlatform platform;
  platform.files[kPath] = "Y\r\nsome older and longer content";
  WriteSwitch(platform, kPath, AccessSwitch::kStopped);
  EXPECT_EQ(platform.files[kPath], "N\r\n");
  WriteSwitch(platform, kPath, AccessSwitch::kStopped);
  EXPECT_EQ(platform.files[kPath], "N\r\n");
  WriteSwitch(platform, kPath, AccessSwitch::kRunning);
  EXPECT_EQ(platform.files[kPath], "Y\r\n");
  EXPECT_EQ(platform.open_files, 0);
}
