#include "switch/netswitch.h"

#include <gtest/gtest.h>

#include "common/error_of.h"
#include "common/fake_platform.h"
#include "common/share_failures.h"
#include "switch/switch_form.h"
#include "window/fake_window.h"

namespace {

const std::wstring kSwitchPath = L"\\\\school\\apps\\launch\\Internet.set";

class NetSwitchTest : public testing::Test {
 protected:
  NetSwitchTest() { platform_.program_folder = L"\\\\school\\apps\\launch"; }

  // Runs start-up; true when it ended the program instead of showing the window.
  bool StartUpEnded() {
    window_.shown = false;
    try {
      netswitch_.StartUp();
    } catch (const ProgramEnded&) {
      EXPECT_FALSE(window_.shown);
      return true;
    }
    EXPECT_TRUE(window_.shown);
    return false;
  }
  std::wstring State() { return window_.Text(kLabel2); }
  // The state as the screen shows it: a button's change is drawn at once.
  std::wstring DrawnState() {
    EXPECT_EQ(window_.drawn.at(kLabel2).text, State());
    return State();
  }

  FakePlatform platform_;
  FakeWindow window_{SwitchForm()};
  NetSwitch netswitch_{platform_, window_};
};

}  // namespace

TEST_F(NetSwitchTest, MissingFileIsCreatedEmptyAndShowsRunning) {
  window_.At(kLabel2).text = L"unset";
  ASSERT_FALSE(StartUpEnded());
  EXPECT_EQ(State(), L"RUNNING");
  ASSERT_EQ(platform_.files.count(kSwitchPath), 1u);
  EXPECT_EQ(platform_.files[kSwitchPath], "");
  EXPECT_EQ(platform_.open_files, 0);
}

TEST_F(NetSwitchTest, OnlyAnNAsFirstByteShowsStopped) {
  const std::pair<const char*, const wchar_t*> cases[] = {
      {"N\r\n", L"STOPPED"}, {"NO\r\n", L"STOPPED"}, {"N", L"STOPPED"},
      {" N\r\n", L"RUNNING"}, {"n\r\n", L"RUNNING"}, {"Y\r\n", L"RUNNING"}};
  for (auto [content, shown] : cases) {
    platform_.files[kSwitchPath] = content;
    window_.At(kLabel2).text = L"unset";
    ASSERT_FALSE(StartUpEnded()) << content;
    EXPECT_EQ(State(), shown) << content;
    EXPECT_EQ(platform_.files[kSwitchPath], content);
  }
}

// The refusal ends with the number of the refused access, and is recorded.
TEST_F(NetSwitchTest, NoWriteAccessRefusesBeforeTheWindowShows) {
  const std::wstring refusal =
      L"You need to have write access to this server path in order to use this utility.";
  for (int32_t number : {53, 57, 62, 68, 70, 75, 76}) {
    platform_.messages.clear();
    platform_.events.clear();
    platform_.open_read_write_errors[kSwitchPath] = number;
    ASSERT_TRUE(StartUpEnded()) << number;
    ASSERT_EQ(platform_.messages.size(), 1u);
    EXPECT_EQ(platform_.messages[0], (ShownMessage{refusal, L"Sorry!", MessageIcon::kExclamation}));
    EXPECT_EQ(platform_.exit_code, number);
    EXPECT_EQ(platform_.events, (std::vector<RecordedEvent>{{EventType::kWarning,
                                                             104,
                                                             {L"program.exe", L"Sorry!", refusal,
                                                              std::to_wstring(number)}}}));
  }
  EXPECT_EQ(platform_.files.count(kSwitchPath), 0u);
}

// However the share fails, at the probe's open or at the read after it, the
// teacher gets the refusal and nothing else.
TEST_F(NetSwitchTest, FailingShareGetsOnlyTheRefusal) {
  for (const ShareFailure& failure : ShareFailures()) {
    SCOPED_TRACE(failure.what);
    for (auto fails : {&FakePlatform::open_read_write_errors, &FakePlatform::read_errors}) {
      platform_ = FakePlatform();
      platform_.program_folder = L"\\\\school\\apps\\launch";
      platform_.files[kSwitchPath] = "N\r\n";
      (platform_.*fails)[kSwitchPath] = failure.number;
      ASSERT_TRUE(StartUpEnded());
      ASSERT_EQ(platform_.messages.size(), 1u);
      EXPECT_EQ(platform_.messages[0].title, L"Sorry!");
      EXPECT_EQ(platform_.open_files, 0);
      EXPECT_EQ(platform_.files[kSwitchPath], "N\r\n");
    }
  }
}

TEST_F(NetSwitchTest, OtherStartUpErrorsGiveTheFatalReport) {
  platform_.open_read_write_errors[kSwitchPath] = 71;
  ASSERT_TRUE(StartUpEnded());
  EXPECT_EQ(platform_.messages.at(0),
            (ShownMessage{L"Error Code: 71 encountered.  Kelbry's Browser Launcher program will "
                          L"now close.",
                          L"Problem!", MessageIcon::kCritical}));
}

TEST_F(NetSwitchTest, FolderAtADriveRootGetsNoSecondBackslash) {
  platform_.program_folder = L"S:\\";
  ASSERT_FALSE(StartUpEnded());
  EXPECT_EQ(platform_.files.count(L"S:\\Internet.set"), 1u);
}

TEST_F(NetSwitchTest, ButtonsReplaceTheFileAndSetTheLabel) {
  platform_.files[kSwitchPath] = "Y\r\nan older, longer content";
  ASSERT_FALSE(StartUpEnded());
  netswitch_.Stop();
  EXPECT_EQ(platform_.files[kSwitchPath], "N\r\n");
  EXPECT_EQ(DrawnState(), L"STOPPED");
  netswitch_.Stop();
  EXPECT_EQ(platform_.files[kSwitchPath], "N\r\n");
  EXPECT_EQ(DrawnState(), L"STOPPED");
  netswitch_.Restart();
  EXPECT_EQ(platform_.files[kSwitchPath], "Y\r\n");
  EXPECT_EQ(DrawnState(), L"RUNNING");
  EXPECT_EQ(platform_.open_files, 0);
}

// The label keeps the state it showed, and the file holds what got through:
// all of the old state when the open fails, nothing when the write fails
// after the open emptied it (which every reader takes as running), and the
// new letter alone when the connection drops half way through the write.
TEST_F(NetSwitchTest, FailedWriteIsLeftUnhandledAndKeepsTheLabel) {
  struct Case {
    const char* name;
    void (*fail)(FakePlatform&);
    int32_t number;
    const char* left;
  };
  const Case cases[] = {
      {"open", [](FakePlatform& p) { p.open_errors[kSwitchPath] = 70; }, 70, "Y\r\n"},
      {"write", [](FakePlatform& p) { p.write_errors[kSwitchPath] = 70; }, 70, ""},
      {"half way", [](FakePlatform& p) { p.write_errors_from[kSwitchPath] = {1, 68}; }, 68, "N"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    platform_ = FakePlatform();
    platform_.program_folder = L"\\\\school\\apps\\launch";
    platform_.files[kSwitchPath] = "Y\r\n";
    ASSERT_FALSE(StartUpEnded());
    c.fail(platform_);
    EXPECT_EQ(ErrorOf([&] { netswitch_.Stop(); }), c.number);
    EXPECT_EQ(DrawnState(), L"RUNNING");
    EXPECT_EQ(platform_.files[kSwitchPath], c.left);
    EXPECT_EQ(platform_.open_files, 0);
  }
}

TEST_F(NetSwitchTest, QuitEndsWithoutTouchingTheFile) {
  platform_.files[kSwitchPath] = "N\r\n";
  ASSERT_FALSE(StartUpEnded());
  EXPECT_THROW(netswitch_.Quit(), ProgramEnded);
  EXPECT_EQ(platform_.exit_code, 0);
  EXPECT_EQ(platform_.files[kSwitchPath], "N\r\n");
}
