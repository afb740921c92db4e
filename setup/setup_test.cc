#include "setup/setup.h"

#include <gtest/gtest.h>

#include "common/error_of.h"
#include "common/fake_platform.h"
#include "common/settings_bytes.h"
#include "common/share_failures.h"
#include "common/texts.h"
#include "setup/fake_script_host.h"
#include "setup/setup_form.h"
#include "window/fake_window.h"

namespace {

const std::wstring kSettingsPath = L"G:\\launch\\Internet.cfg";
const std::wstring kServerPath = L"\\\\school\\apps\\launch\\";
const char* const kServerPathRecord = "\\\\school\\apps\\launch\\";
const std::string kStored = SettingsBytes("  School rules\r\nBe kind.\r\n  ", "I agree  ",
                                          "  http://intranet/  ", "\\\\elsewhere\\");
const LauncherSettings kBuiltIn{texts::kBuiltInMessage, texts::kBuiltInPrompt, L"", kServerPath};

// The built-in texts as a settings file holds them, with a server path.
std::string BuiltInBytes(std::string_view server_path = kServerPathRecord) {
  const std::wstring message = texts::kBuiltInMessage, prompt = texts::kBuiltInPrompt;
  return SettingsBytes(std::string(message.begin(), message.end()),
                       std::string(prompt.begin(), prompt.end()), "", server_path);
}

const ShownMessage kNotice{
    L"Because you do not have write access to the server path using the currently logged in "
    L"user, you will not be able to save any setup changes.",
    L"Kelbry's Browser Launcher - Please Note:", MessageIcon::kInformation};

std::wstring FatalReport(int32_t number) {
  return L"Error Code: " + std::to_wstring(number) +
         L" encountered.  This Launcher Setup program will now close.";
}

// setup started from G:\launch, with G: connected to \\school\apps.
class SetupTest : public testing::Test {
 protected:
  SetupTest() {
    platform_.program_folder = L"G:\\launch";
    platform_.environment[L"WINDIR"] = L"C:\\WINDOWS";
    platform_.files[L"G:\\launch\\Internet.exe"] = "MZ";
    platform_.folders.insert(host_.desktop);
  }

  // Runs start-up; true when it ended the program.
  bool StartUpEnded() {
    platform_.messages.clear();
    window_.shown = false;
    try {
      setup_.StartUp();
    } catch (const ProgramEnded&) {
      return true;
    }
    EXPECT_TRUE(window_.shown);
    EXPECT_EQ(platform_.open_files, 0);
    return false;
  }
  // What the editors show, with the server path; the preview must repeat them.
  LauncherSettings Shown() {
    EXPECT_EQ(window_.Text(kText1), window_.Text(kText2));
    EXPECT_EQ(window_.Text(kOption1), window_.Text(kText3));
    return {window_.Text(kText2), window_.Text(kText3), window_.Text(kText5),
            window_.Text(kText4)};
  }
  bool SaveEnabled() { return window_.At(kCommand6).enabled; }
  // The screen shows these controls as they are now: changed and drawn at once.
  void ExpectDrawn(std::initializer_list<ControlId> ids) {
    for (ControlId id : ids) EXPECT_EQ(window_.drawn.at(id).text, window_.Text(id)) << id;
  }

  FakePlatform platform_;
  FakeWindow window_{SetupForm()};
  FakeScriptHost host_;
  ::Setup setup_{platform_, window_, host_, [](const std::wstring& drive, std::wstring& remote) {
                   remote = drive == L"G:" ? L"\\\\school\\apps" : drive + L"\\";
                   return drive == L"G:" ? 0 : 2250;
                 }};
};

}  // namespace

TEST_F(SetupTest, OnlyASingleSlashAInstallsAtOnceAndQuietly) {
  for (const wchar_t* line : {L"/A", L"/a", L"  /A  "}) {
    platform_.command_line = line;
    EXPECT_TRUE(StartUpEnded()) << line;
    EXPECT_TRUE(window_.shown) << "the window shows while installing";
    EXPECT_TRUE(platform_.messages.empty());
  }
  for (const wchar_t* line : {L"/A /Q", L"-A", L"", L"\t/A"}) {
    platform_.command_line = line;
    EXPECT_FALSE(StartUpEnded()) << line;
  }
}

TEST_F(SetupTest, ServerFileFillsTheEditorsRightTrimmedAndStaysAsItIs) {
  platform_.files[kSettingsPath] = kStored;
  platform_.read_errors_from[kSettingsPath] = {1500, 57};  // record 4 is never read
  ASSERT_FALSE(StartUpEnded());
  LauncherSettings shown = Shown();
  EXPECT_EQ(shown.message, L"  School rules\r\nBe kind.\r\n");
  EXPECT_EQ(shown.prompt, L"I agree");
  EXPECT_EQ(shown.start_page, L"  http://intranet/");
  EXPECT_EQ(shown.server_path, kServerPath);
  EXPECT_TRUE(SaveEnabled());
  EXPECT_TRUE(platform_.messages.empty());
  EXPECT_EQ(platform_.files[kSettingsPath], kStored);
}

TEST_F(SetupTest, FileWithoutSettingsInAWritableFolderIsDeleted) {
  for (int length : {-1, 0, 1999, 2001}) {
    platform_.files.erase(kSettingsPath);
    if (length >= 0) platform_.files[kSettingsPath] = std::string(length, ' ');
    ASSERT_FALSE(StartUpEnded()) << length;
    EXPECT_FALSE(platform_.files.count(kSettingsPath)) << length;
    EXPECT_EQ(Shown(), kBuiltIn) << length;
    EXPECT_TRUE(SaveEnabled());
  }
}

// Also a share that refuses or fails the probe, the reopen after it, or the
// reads of a file that did open: the notice once, and the file left alone. A
// probe that finds no file is no missing write access.
TEST_F(SetupTest, WithoutWriteAccessSavingIsOffAfterANoticeAndTheFileIsLeftAlone) {
  struct Case {
    std::string name;
    std::map<std::wstring, int32_t> FakePlatform::*fails;
    int32_t number;
    std::optional<std::string> file;
    bool loaded;
    bool refused = true;
  };
  const std::string stored = kStored;
  const std::string wrong_length(1999, 'x');
  std::vector<Case> cases = {
      Case{"no file at the probe", &FakePlatform::open_read_write_errors, 53, std::nullopt, false,
           false},
      Case{"device I/O", &FakePlatform::open_read_write_errors, 57, stored, true},
      Case{"unavailable", &FakePlatform::open_read_write_errors, 68, stored, true},
      Case{"denied", &FakePlatform::open_read_write_errors, 70, stored, true},
      Case{"path/file", &FakePlatform::open_read_write_errors, 75, stored, true},
      Case{"no file", &FakePlatform::open_read_write_errors, 75, std::nullopt, false},
      Case{"wrong length", &FakePlatform::open_read_write_errors, 70, wrong_length, false},
      Case{"undeletable", &FakePlatform::delete_errors, 75, wrong_length, false},
      Case{"unreadable too", &FakePlatform::open_errors, 70, stored, false},
  };
  for (const ShareFailure& failure : ShareFailures()) {
    std::string what = failure.what;
    cases.push_back({what + ", probe", &FakePlatform::open_read_write_errors, failure.number,
                     stored, true});
    cases.push_back({what + ", probe and reopen", &FakePlatform::open_errors, failure.number,
                     stored, false});
    cases.push_back({what + ", reads after the probe", &FakePlatform::read_errors,
                     failure.number, stored, false});
  }
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    platform_ = FakePlatform();
    platform_.program_folder = L"G:\\launch";
    if (c.file) platform_.files[kSettingsPath] = *c.file;
    (platform_.*c.fails)[kSettingsPath] = c.number;
    window_.At(kCommand6).enabled = true;
    ASSERT_FALSE(StartUpEnded());
    EXPECT_EQ(SaveEnabled(), !c.refused);
    EXPECT_EQ(platform_.messages, c.refused ? std::vector{kNotice} : std::vector<ShownMessage>{});
    EXPECT_EQ(Shown().message,
              c.loaded ? L"  School rules\r\nBe kind.\r\n" : texts::kBuiltInMessage);
    EXPECT_EQ(platform_.files.count(kSettingsPath) ? platform_.files[kSettingsPath] : "",
              c.file.value_or(""));
  }
}

TEST_F(SetupTest, UnattendedWithoutWriteAccessInstallsTheBuiltInTextsWithoutANotice) {
  platform_.command_line = L"/A";
  platform_.open_read_write_errors[kSettingsPath] = 70;
  EXPECT_TRUE(StartUpEnded());
  EXPECT_TRUE(platform_.messages.empty());
  EXPECT_EQ(platform_.files[L"C:\\WINDOWS\\Internet.cfg"], BuiltInBytes());
}

TEST_F(SetupTest, OtherErrorsEndWithSetupsFatalReportBeforeTheWindowShows) {
  for (int32_t number : {62, 76, 52, 7}) {
    platform_.open_errors[kSettingsPath] = number;
    EXPECT_TRUE(StartUpEnded());
    EXPECT_FALSE(window_.shown);
    EXPECT_EQ(platform_.messages, (std::vector<ShownMessage>{{FatalReport(number), L"Problem!",
                                                              MessageIcon::kCritical}}));
    EXPECT_EQ(platform_.exit_code, number);
  }
}

TEST_F(SetupTest, LocalDiskHasNoServerPathAndWindirIsTrimmed) {
  platform_.program_folder = L"C:\\tools";
  platform_.environment[L"WINDIR"] = L"  D:\\WINNT  ";
  platform_.files[L"C:\\tools\\Internet.exe"] = "MZ";
  ASSERT_FALSE(StartUpEnded());
  EXPECT_EQ(Shown().server_path, L"*Not Available*");
  EXPECT_THROW(setup_.Install(), ProgramEnded);
  EXPECT_EQ(platform_.files[L"D:\\WINNT\\Internet.cfg"], BuiltInBytes("*Not Available*"));
}

TEST_F(SetupTest, PreviewAndResetChangeOnlyTheWindow) {
  platform_.files[kSettingsPath] = kStored;
  ASSERT_FALSE(StartUpEnded());
  window_.SetText(kText2, L"New rules\r\n\r\nRead them.");
  window_.SetText(kText3, L"");
  setup_.UpdatePreview();
  EXPECT_EQ(Shown().message, L"New rules\r\n\r\nRead them.");
  ExpectDrawn({kText1, kOption1});

  setup_.ResetDefaults();
  EXPECT_EQ(Shown(), kBuiltIn);
  EXPECT_EQ(platform_.files[kSettingsPath], kStored);
  ExpectDrawn({kText1, kText2, kText3, kText5, kOption1});
}

TEST_F(SetupTest, SavedSettingsAreWhatTheNextStartLoads) {
  ASSERT_FALSE(StartUpEnded());
  std::wstring message = std::wstring(499, L'm') + L"\r\n" + std::wstring(119, L'x');
  window_.SetText(kText2, message);
  window_.SetText(kText3, L"Yes  ");
  window_.SetText(kText5, L"  G:\\Intranet\\index.htm");
  setup_.SaveSettings();
  EXPECT_EQ(platform_.files[kSettingsPath],
            SettingsBytes(std::string(499, 'm') + "\r", "Yes", "  G:\\Intranet\\index.htm",
                          kServerPathRecord));
  EXPECT_EQ(platform_.messages, (std::vector<ShownMessage>{
                                    {L"New Settings Saved.", L"Done", MessageIcon::kInformation}}));
  EXPECT_FALSE(platform_.files.count(kSettingsPath + L".new"));

  FakeWindow next_window{SetupForm()};
  ::Setup next{platform_, next_window, host_,
               [](const std::wstring&, std::wstring&) { return 1; }};
  next.StartUp();
  EXPECT_EQ(next_window.Text(kText2), message.substr(0, 500));
  EXPECT_EQ(next_window.Text(kText5), L"  G:\\Intranet\\index.htm");

  setup_.ResetDefaults();
  setup_.SaveSettings();
  EXPECT_EQ(platform_.files[kSettingsPath], BuiltInBytes());
}

// The share fails after the new settings went to the temporary file: the
// failure is raised for the unhandled-error report, and the file is as it was.
// Only after a refused swap is the file written in place, which is refused
// here too, with a number of its own.
TEST_F(SetupTest, SaveOntoAFailingShareKeepsThePreviousFile) {
  for (const ShareFailure& failure : ShareFailures()) {
    SCOPED_TRACE(failure.what);
    platform_ = FakePlatform();
    platform_.program_folder = L"G:\\launch";
    platform_.files[kSettingsPath] = kStored;
    ASSERT_FALSE(StartUpEnded());
    window_.SetText(kText2, L"changed");
    platform_.replace_errors[kSettingsPath] = failure.number;
    const int32_t in_place = failure.number == 70 ? 75 : 70;
    platform_.open_errors[kSettingsPath] = in_place;
    bool refused = failure.number == 70 || failure.number == 75;
    EXPECT_EQ(ErrorOf([&] { setup_.SaveSettings(); }), refused ? in_place : failure.number);
    EXPECT_EQ(platform_.files[kSettingsPath], kStored);
    EXPECT_TRUE(platform_.messages.empty());
  }
}

TEST_F(SetupTest, FailedSaveIsRaisedAndKeepsThePreviousFile) {
  platform_.files[kSettingsPath] = kStored;
  ASSERT_FALSE(StartUpEnded());
  window_.SetText(kText2, L"changed");
  platform_.write_errors[kSettingsPath + L".new"] = 57;
  EXPECT_EQ(ErrorOf([&] { setup_.SaveSettings(); }), 57);
  EXPECT_EQ(platform_.files[kSettingsPath], kStored);
  EXPECT_TRUE(platform_.messages.empty());
}
