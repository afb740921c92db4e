#include "launcher/launcher.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string_view>

#include "common/error.h"
#include "common/fake_platform.h"
#include "common/settings_bytes.h"
#include "common/share_failures.h"
#include "common/texts.h"
#include "launcher/agreement_form.h"
#include "window/fake_window.h"

namespace {

struct ShellRequest {
  std::wstring operation, document;
  std::optional<std::wstring> parameters, directory;
  int32_t show;
};

class FakeShell : public Shell {
 public:
  intptr_t result = 42;
  std::vector<ShellRequest> requests;
  intptr_t Execute(const std::wstring& operation, const std::wstring& document,
                   const std::optional<std::wstring>& parameters,
                   const std::optional<std::wstring>& directory, int32_t show) override {
    requests.push_back({operation, document, parameters, directory, show});
    return result;
  }
};

const std::wstring kSettingsPath = L"C:\\WINDOWS\\Internet.cfg";
const std::wstring kServer = L"\\\\school\\apps\\launch\\";
const char* const kServerRecord = "\\\\school\\apps\\launch\\";
const std::wstring kSwitchPath = kServer + L"Internet.set";

// The warning of a pupil let in without the switch.
RecordedEvent LetIn(const std::wstring& path, int32_t number) {
  return {EventType::kWarning,
          200,
          {L"program.exe", L"The access switch could not be read, so the pupil was let in.", path,
           std::to_wstring(number), ErrorDescription(number)}};
}

class LauncherStartUp : public testing::Test {
 protected:
  LauncherStartUp() { platform_.program_folder = L"C:\\WINDOWS"; }

  void StoreSettings(std::string_view message, std::string_view prompt, std::string_view start_page,
                     std::string_view server_path) {
    platform_.files[kSettingsPath] = SettingsBytes(message, prompt, start_page, server_path);
  }
  void StoreSettingsWithSwitch(const std::string& switch_content) {
    StoreSettings("School message", "I agree", "http://intranet/", kServerRecord);
    platform_.files[kSwitchPath] = switch_content;
  }
  // Runs start-up; true when it ended the program instead of showing the window.
  bool StartUpEnded() {
    window_.shown = false;
    try {
      launcher_->StartUp();
    } catch (const ProgramEnded&) {
      EXPECT_FALSE(window_.shown);
      return true;
    }
    EXPECT_TRUE(window_.shown);
    return false;
  }
  bool SwitchWasRead() const {
    for (const auto& entry : platform_.log) {
      if (entry.starts_with(L"open ") && entry.ends_with(L"Internet.set")) return true;
    }
    return false;
  }
  // Another run of the Launcher, on a new window, with the files as they are.
  // The texts it must set start out as neither the file's nor the built-in.
  void Rerun() {
    window_ = FakeWindow(AgreementForm());
    for (ControlId id : {kText1, kOption1}) window_.SetText(id, L"<not set>");
    shell_.requests.clear();
    launcher_.emplace(platform_, window_, shell_);
  }
  std::wstring Message() { return window_.Text(kText1); }
  std::wstring Prompt() { return window_.Text(kOption1); }
  std::wstring OpenedStartPage() {
    EXPECT_THROW(launcher_->Connect(), ProgramEnded);
    return shell_.requests.empty() ? L"<nothing>" : shell_.requests.back().document;
  }

  FakePlatform platform_;
  FakeWindow window_{AgreementForm()};
  FakeShell shell_;
  std::optional<Launcher> launcher_{std::in_place, platform_, window_, shell_};
};

}  // namespace

TEST_F(LauncherStartUp, WithoutUsableSettingsShowsTheBuiltInTexts) {
  for (const char* content : {"", "x", "1999", "2001"}) {
    Rerun();
    platform_.files.erase(kSettingsPath);
    if (std::string(content) == "1999") platform_.files[kSettingsPath] = std::string(1999, ' ');
    if (std::string(content) == "2001") platform_.files[kSettingsPath] = std::string(2001, ' ');
    if (std::string(content) == "x") platform_.open_errors[kSettingsPath] = 75;
    ASSERT_FALSE(StartUpEnded()) << content;
    EXPECT_EQ(Message(), texts::kBuiltInMessage);
    EXPECT_EQ(Prompt(), texts::kBuiltInPrompt);
    EXPECT_TRUE(platform_.messages.empty());
    EXPECT_FALSE(SwitchWasRead());
    platform_.open_errors.clear();
  }
  EXPECT_EQ(OpenedStartPage(), kDefaultStartPage);
}

TEST_F(LauncherStartUp, TextsComeFromTheFileWithTheirOwnTrimming) {
  StoreSettings("  Line one\r\nLine two\r\n  ", "  Yes  ", "  http://intranet/  ",
                "  *Not Available*  ");
  ASSERT_FALSE(StartUpEnded());
  EXPECT_EQ(Message(), L"  Line one\r\nLine two\r\n");
  EXPECT_EQ(Prompt(), L"  Yes");
  EXPECT_FALSE(window_.At(kOption1).selected);
  EXPECT_FALSE(window_.At(kCommand1).enabled);
  EXPECT_FALSE(SwitchWasRead());
  EXPECT_EQ(OpenedStartPage(), L"http://intranet/");
  EXPECT_EQ(platform_.open_files, 0);
}

TEST_F(LauncherStartUp, FileOfBlanksGivesEmptyTextsAndTheDefaultStartPage) {
  platform_.files[kSettingsPath] = std::string(2000, ' ');
  ASSERT_FALSE(StartUpEnded());
  EXPECT_EQ(Message(), L"");
  EXPECT_EQ(Prompt(), L"");
  EXPECT_FALSE(SwitchWasRead());
  EXPECT_EQ(OpenedStartPage(), kDefaultStartPage);
}

TEST_F(LauncherStartUp, OptionIsNeverSelectedAtStart) {
  window_.At(kOption1).selected = true;
  ASSERT_FALSE(StartUpEnded());
  EXPECT_FALSE(window_.At(kOption1).selected);
}

TEST_F(LauncherStartUp, StoppedSwitchRefusesWithoutShowingTheWindow) {
  for (const char* content : {"N\r\n", "  N  \r\n", "N"}) {
    StoreSettingsWithSwitch(content);
    platform_.messages.clear();
    ASSERT_TRUE(StartUpEnded()) << content;
    ASSERT_EQ(platform_.messages.size(), 1u);
    EXPECT_EQ(platform_.messages[0], (ShownMessage{L"Internet Access is currently unavailable.",
                                                   L"Sorry", MessageIcon::kExclamation}));
    EXPECT_EQ(platform_.exit_code, 0);
    EXPECT_EQ(platform_.open_files, 0);
  }
  // The switch at work is no failure; where no one watches it ends at once.
  EXPECT_TRUE(platform_.events.empty());
  platform_.watched = false;
  platform_.messages.clear();
  ASSERT_TRUE(StartUpEnded());
  EXPECT_TRUE(platform_.messages.empty());
  EXPECT_EQ(platform_.exit_code, 0);
}

TEST_F(LauncherStartUp, AnyOtherSwitchLineLetsThePupilOn) {
  for (const char* content : {"Y\r\n", "n\r\n", "NO\r\n", "N\n", "\tN\r\n"}) {
    Rerun();
    StoreSettingsWithSwitch(content);
    ASSERT_FALSE(StartUpEnded()) << content;
    EXPECT_EQ(Message(), L"School message");
    EXPECT_EQ(Prompt(), L"I agree");
    EXPECT_TRUE(platform_.messages.empty());
  }
  // A switch that says running is no failure.
  EXPECT_TRUE(platform_.events.empty());
  EXPECT_EQ(OpenedStartPage(), L"http://intranet/");
}

// The pupil is let in, and the warning names the path, the number and its
// description.
TEST_F(LauncherStartUp, UnreadableSwitchKeepsTheFilesTextsAndLeavesAWarning) {
  for (int32_t number : {53, 57, 62, 68, 70, 75, 76}) {
    Rerun();
    StoreSettingsWithSwitch("N\r\n");
    platform_.events.clear();
    platform_.open_errors[kSwitchPath] = number;
    ASSERT_FALSE(StartUpEnded()) << number;
    EXPECT_EQ(Message(), L"School message");
    EXPECT_TRUE(platform_.messages.empty());
    EXPECT_EQ(platform_.events, std::vector<RecordedEvent>{LetIn(kSwitchPath, number)});
  }
  // A missing file, and an empty one (reading its line runs past the end).
  platform_.open_errors.clear();
  for (auto [content, number] : {std::pair<const char*, int32_t>{nullptr, 53}, {"", 62}}) {
    platform_.files.erase(kSwitchPath);
    if (content) platform_.files[kSwitchPath] = content;
    platform_.events.clear();
    Rerun();
    ASSERT_FALSE(StartUpEnded());
    EXPECT_EQ(Prompt(), L"I agree");
    EXPECT_EQ(platform_.events, std::vector<RecordedEvent>{LetIn(kSwitchPath, number)});
  }
}

// A switch that cannot be read lets the pupil in, however the share fails, and
// whether the open fails or the read after it.
TEST_F(LauncherStartUp, FailingShareLetsThePupilInWithTheFilesTexts) {
  for (const ShareFailure& failure : ShareFailures()) {
    SCOPED_TRACE(failure.what);
    for (auto fails : {&FakePlatform::open_errors, &FakePlatform::read_errors}) {
      platform_ = FakePlatform();
      platform_.program_folder = L"C:\\WINDOWS";
      Rerun();
      StoreSettingsWithSwitch("N\r\n");
      (platform_.*fails)[kSwitchPath] = failure.number;
      ASSERT_FALSE(StartUpEnded());
      EXPECT_EQ(Message(), L"School message");
      EXPECT_EQ(Prompt(), L"I agree");
      EXPECT_TRUE(platform_.messages.empty());
      EXPECT_EQ(platform_.events, std::vector<RecordedEvent>{LetIn(kSwitchPath, failure.number)});
      EXPECT_EQ(platform_.open_files, 0);
    }
  }
  EXPECT_EQ(OpenedStartPage(), L"http://intranet/");
}

// The workstation's own settings on a drive that fails, at the start or part
// way: the built-in texts, and the start page only of a record already read.
TEST_F(LauncherStartUp, FailingSettingsDriveGivesTheBuiltInTexts) {
  struct Case {
    int64_t failing_from;
    const wchar_t* start_page;
  };
  for (const ShareFailure& failure : ShareFailures()) {
    for (Case at : {Case{0, kDefaultStartPage}, Case{1000, kDefaultStartPage},
                    Case{1500, L"http://intranet/"}}) {
      SCOPED_TRACE(std::string(failure.what) + " from byte " + std::to_string(at.failing_from));
      platform_ = FakePlatform();
      platform_.program_folder = L"C:\\WINDOWS";
      Rerun();
      StoreSettingsWithSwitch("N\r\n");
      platform_.read_errors_from[kSettingsPath] = {at.failing_from, failure.number};
      ASSERT_FALSE(StartUpEnded());
      EXPECT_EQ(Message(), texts::kBuiltInMessage);
      EXPECT_EQ(Prompt(), texts::kBuiltInPrompt);
      EXPECT_FALSE(SwitchWasRead());
      EXPECT_TRUE(platform_.messages.empty());
      EXPECT_EQ(OpenedStartPage(), at.start_page);
    }
  }
}

// Showing the agreement is part of start-up: a file-access error there goes
// on at the agreement once more, without looping; any other, the fatal report.
TEST_F(LauncherStartUp, FailureWhileShowingTheWindowIsHandled) {
  StoreSettings("School message", "I agree", "", "");
  window_.show_errors = {53};
  ASSERT_FALSE(StartUpEnded());
  EXPECT_EQ(Message(), L"School message");

  Rerun();
  window_.show_errors = {53, 53, 53};
  EXPECT_NO_THROW(launcher_->StartUp());
  EXPECT_EQ(window_.show_errors.size(), 1u);
  EXPECT_TRUE(platform_.messages.empty());

  Rerun();
  window_.show_errors = {7};
  ASSERT_TRUE(StartUpEnded());
  EXPECT_EQ(platform_.messages.at(0).text, L"Error Code: 7 encountered.  Kelbry's Browser "
                                           L"Launcher program will now close.");
  EXPECT_EQ(platform_.exit_code, 7);
}

TEST_F(LauncherStartUp, OnlyAUncServerPathIsConsulted) {
  for (const char* path : {"*Not Available*", "G:\\launch\\", "", "\\single\\"}) {
    StoreSettings("m", "p", "", path);
    platform_.files[std::wstring(path, path + std::strlen(path)) + L"Internet.set"] = "N\r\n";
    ASSERT_FALSE(StartUpEnded()) << path;
    EXPECT_FALSE(SwitchWasRead());
  }
}

// A server path stored without its closing backslash names another file:
// the switch in that folder does not stop the pupil.
TEST_F(LauncherStartUp, ServerPathIsJoinedToTheFileNameAsItIs) {
  StoreSettings("m", "p", "", "\\\\school\\apps");
  platform_.files[L"\\\\school\\apps\\Internet.set"] = "N\r\n";
  EXPECT_FALSE(StartUpEnded());
  EXPECT_EQ(platform_.events,
            std::vector<RecordedEvent>{LetIn(L"\\\\school\\appsInternet.set", 53)});
  platform_.files[L"\\\\school\\appsInternet.set"] = "N\r\n";
  EXPECT_TRUE(StartUpEnded());
}

TEST_F(LauncherStartUp, ProgramAtADriveRootGetsNoSecondBackslash) {
  platform_.program_folder = L"C:\\";
  platform_.files[L"C:\\Internet.cfg"] = SettingsBytes("root", "p", "", "");
  ASSERT_FALSE(StartUpEnded());
  EXPECT_EQ(Message(), L"root");
}

TEST_F(LauncherStartUp, ErrorsOutsideTheFileClassEndWithTheFatalReport) {
  platform_.open_errors[kSettingsPath] = 52;
  ASSERT_TRUE(StartUpEnded());
  ASSERT_EQ(platform_.messages.size(), 1u);
  EXPECT_EQ(platform_.messages[0],
            (ShownMessage{L"Error Code: 52 encountered.  Kelbry's Browser Launcher program will "
                          L"now close.",
                          L"Problem!", MessageIcon::kCritical}));
  EXPECT_EQ(platform_.exit_code, 52);

  platform_.messages.clear();
  StoreSettingsWithSwitch("Y\r\n");
  platform_.open_errors = {{kSwitchPath, 71}};
  platform_.events.clear();
  ASSERT_TRUE(StartUpEnded());
  EXPECT_EQ(platform_.messages.at(0).text.substr(0, 15), L"Error Code: 71 ");
  ASSERT_EQ(platform_.events.size(), 1u);
  EXPECT_EQ(platform_.events[0].id, 100);
  EXPECT_EQ(platform_.exit_code, 71);
  EXPECT_EQ(platform_.open_files, 0);
}

TEST_F(LauncherStartUp, SelectingTheOptionEnablesConnectAndRedrawsIt) {
  ASSERT_FALSE(StartUpEnded());
  EXPECT_FALSE(window_.drawn.at(kCommand1).enabled);
  launcher_->AcceptanceSelected();
  EXPECT_TRUE(window_.drawn.at(kCommand1).enabled);
  launcher_->AcceptanceSelected();
  EXPECT_TRUE(window_.At(kCommand1).enabled);
}

TEST_F(LauncherStartUp, ConnectAsksTheShellToOpenTheStartPageAndEnds) {
  StoreSettings("m", "p", "  C:\\My Pages\\start page.htm  ", "");
  ASSERT_FALSE(StartUpEnded());
  EXPECT_THROW(launcher_->Connect(), ProgramEnded);
  ASSERT_EQ(shell_.requests.size(), 1u);
  const ShellRequest& request = shell_.requests[0];
  EXPECT_EQ(request.operation, L"Open");
  EXPECT_EQ(request.document, L"C:\\My Pages\\start page.htm");
  EXPECT_FALSE(request.parameters);
  EXPECT_FALSE(request.directory);
  EXPECT_EQ(request.show, 1);
  EXPECT_TRUE(platform_.started.empty());
  EXPECT_EQ(platform_.exit_code, 0);
}

// Even once the agreement was accepted, and Connect could be pressed.
TEST_F(LauncherStartUp, IDontUnderstandEndsWithoutOpeningAnything) {
  StoreSettingsWithSwitch("Y\r\n");
  ASSERT_FALSE(StartUpEnded());
  launcher_->AcceptanceSelected();
  EXPECT_THROW(launcher_->DontUnderstand(), ProgramEnded);
  EXPECT_EQ(platform_.exit_code, 0);
  EXPECT_TRUE(shell_.requests.empty());
  EXPECT_TRUE(platform_.started.empty());
}
