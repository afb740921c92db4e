#include "setup/installation.h"

#include <gtest/gtest.h>

#include <optional>

#include "common/fake_platform.h"
#include "common/settings_bytes.h"
#include "common/share_failures.h"
#include "setup/fake_script_host.h"
#include "setup/setup_form.h"
#include "window/fake_window.h"

namespace {

const std::wstring kServer = L"\\\\school\\apps\\launch\\";
const std::wstring kUpdateInstaller = L"\"" + kServer + L"scr56en.exe\"";
const std::string kLauncher = std::string("MZ launcher\0\x01\xff", 15);
const LauncherSettings kSettings{L"Message\r\nline two", L"I agree", L"http://intranet/", kServer};
const std::string kInstalledSettings = SettingsBytes("Message\r\nline two", "I agree",
                                                     "http://intranet/", "\\\\school\\apps\\launch\\");

const std::wstring kShortcut = L"C:\\Users\\admin\\Desktop\\Internet Explorer.lnk";
const FakeScriptHost::Properties kShortcutProperties{
    {L"TargetPath", L"C:\\WINDOWS\\Internet.exe"},
    {L"Description", L"Application"},
    {L"Arguments", L""},
    {L"WorkingDirectory", L"C:\\WINDOWS"},
    {L"WindowStyle", L"0"},
};

const ShownMessage kIncomplete{
    L"It appears this installation of the Launcher is incomplete.  You should probably download "
    L"a new version from Kelbry's Website and try again.",
    L"Problem!", MessageIcon::kCritical};
const ShownMessage kUpdateNeeded{
    L"This computer requires an update of the Windows Scripting Host.  This will start "
    L"automatically when you click the OK button.  After the PC reboots, you will need to run "
    L"the Launcher Setup again.",
    L"Problem!", MessageIcon::kCritical};

// The event that records a report.
RecordedEvent EventOf(EventType type, uint16_t id, const ShownMessage& report, int32_t number) {
  return {type, id, {L"program.exe", report.title, report.text, std::to_wstring(number)}};
}

class InstallationTest : public testing::Test {
 protected:
  InstallationTest() { Reset(); }

  // A server folder with the Launcher, and a desktop folder to take the shortcut.
  void Reset() {
    platform_ = FakePlatform();
    platform_.files[kServer + L"Internet.exe"] = kLauncher;
    host_ = FakeScriptHost();
    platform_.folders.insert(host_.desktop);
  }

  void Install(bool unattended = false) {
    EXPECT_THROW(InstallLauncher(platform_, window_, host_, {kServer, L"C:\\WINDOWS", unattended},
                                 kSettings),
                 ProgramEnded);
    EXPECT_EQ(platform_.open_files, 0);
  }
  bool Installed(const wchar_t* name) const {
    return platform_.files.count(L"C:\\WINDOWS\\" + std::wstring(name)) > 0;
  }
  bool ShortcutSaved() const { return !host_.shortcuts.empty(); }

  FakePlatform platform_;
  FakeWindow window_{SetupForm()};
  FakeScriptHost host_;
};

}  // namespace

// Everything of an earlier installation is replaced, an older and longer
// settings file included.
TEST_F(InstallationTest, ReplacesLauncherSettingsAndShortcutThenSaysDone) {
  platform_.files[L"C:\\WINDOWS\\Internet.exe"] = "old launcher";
  platform_.files[L"C:\\WINDOWS\\Internet.cfg"] = std::string(2600, 'o');
  host_.shortcuts[kShortcut] = {{L"TargetPath", L"C:\\Program Files\\Browser\\browser.exe"}};
  Install();

  EXPECT_EQ(platform_.files[L"C:\\WINDOWS\\Internet.exe"], kLauncher);
  EXPECT_EQ(platform_.files[L"C:\\WINDOWS\\Internet.cfg"], kInstalledSettings);
  EXPECT_EQ(host_.shortcuts, (std::map<std::wstring, FakeScriptHost::Properties>{
                                 {kShortcut, kShortcutProperties}}));
  EXPECT_TRUE(window_.busy);
  EXPECT_EQ(platform_.messages,
            (std::vector<ShownMessage>{
                {L"Installation Complete.  There should be a new shortcut for Internet Explorer "
                 L"on your Desktop.  You should now delete all other Internet Explorer icons.",
                 L"Done", MessageIcon::kInformation}}));
  EXPECT_EQ(platform_.exit_code, 0);

  platform_.messages.clear();
  Install(true);
  EXPECT_TRUE(platform_.messages.empty()) << "unattended";
  EXPECT_EQ(platform_.exit_code, 0);
}

// The copy carries the server's mark along; the installed Launcher has none.
TEST_F(InstallationTest, InstalledLauncherLosesTheDownloadMarkOfItsCopy) {
  platform_.download_marks.insert(kServer + L"Internet.exe");
  Install();
  EXPECT_EQ(platform_.download_marks, std::set<std::wstring>{kServer + L"Internet.exe"});
}

// The program, its settings and the shortcut are all in place: a mark left on
// the Launcher does not make that a failed installation.
TEST_F(InstallationTest, MarkThatCannotBeRemovedDoesNotStopTheInstallation) {
  for (int32_t number : {75, 70, 57, 68}) {
    SCOPED_TRACE(number);
    Reset();
    platform_.download_marks.insert(kServer + L"Internet.exe");
    platform_.unmark_errors[L"C:\\WINDOWS\\Internet.exe"] = number;
    Install();
    EXPECT_EQ(platform_.files[L"C:\\WINDOWS\\Internet.cfg"], kInstalledSettings);
    EXPECT_TRUE(ShortcutSaved());
    ASSERT_EQ(platform_.messages.size(), 1u);
    EXPECT_EQ(platform_.messages[0].title, L"Done");
  }
}

TEST_F(InstallationTest, MissingLauncherIsAnIncompleteInstallationEvenUnattended) {
  platform_.files.clear();
  Install(true);
  EXPECT_EQ(platform_.messages, std::vector<ShownMessage>{kIncomplete});
  EXPECT_EQ(platform_.events,
            std::vector<RecordedEvent>{EventOf(EventType::kError, 102, kIncomplete, 53)});
  EXPECT_EQ(platform_.exit_code, 53);
  EXPECT_FALSE(Installed(L"Internet.cfg"));
  EXPECT_FALSE(ShortcutSaved());
}

TEST_F(InstallationTest, OutdatedScriptHostStartsTheUpdateInstallerOrSaysIncompleteOnce) {
  host_.create_error = 430;
  Install();
  EXPECT_TRUE(Installed(L"Internet.exe"));
  EXPECT_TRUE(Installed(L"Internet.cfg"));
  EXPECT_EQ(platform_.messages, std::vector<ShownMessage>{kUpdateNeeded});
  EXPECT_EQ(platform_.started, std::vector<std::wstring>{kUpdateInstaller});
  const RecordedEvent update_started = EventOf(EventType::kWarning, 103, kUpdateNeeded, 430);
  EXPECT_EQ(platform_.events, std::vector<RecordedEvent>{update_started});
  EXPECT_EQ(platform_.exit_code, 430);

  platform_.messages.clear();
  platform_.events.clear();
  platform_.log.clear();
  platform_.start_errors[kUpdateInstaller] = 53;
  Install();
  EXPECT_EQ(platform_.messages, (std::vector<ShownMessage>{kUpdateNeeded, kIncomplete}));
  EXPECT_EQ(platform_.events,
            (std::vector<RecordedEvent>{update_started,
                                        EventOf(EventType::kError, 102, kIncomplete, 53)}));
  EXPECT_EQ(platform_.exit_code, 53);
  EXPECT_EQ(std::count(platform_.log.begin(), platform_.log.end(), L"start " + kUpdateInstaller),
            1);
}

// What was installed before the failure stays; no shortcut is saved. A
// Launcher installed without its settings file would never consult the
// switch: the settings file failing at any step is reported too.
TEST_F(InstallationTest, OtherErrorsEndWithTheFatalReport) {
  const std::wstring settings_path = L"C:\\WINDOWS\\Internet.cfg";
  const std::string installed = kInstalledSettings;
  struct Case {
    const char* name;
    std::function<void()> arrange;
    int32_t number;
    bool launcher;                         // installed
    std::optional<std::string> settings;  // what the settings file holds, if there is one
  };
  const Case cases[] = {
      {"Windows folder refused",
       [&] { platform_.write_errors[L"C:\\WINDOWS\\Internet.exe"] = 75; }, 75, false,
       std::nullopt},
      {"old settings not removed",
       [&] {
         platform_.files[settings_path] = "old";
         platform_.delete_errors[settings_path] = 70;
       },
       70, true, "old"},
      {"settings not made again",
       [&] {
         platform_.files[settings_path] = "old";
         platform_.create_errors[settings_path] = 75;
       },
       75, true, std::nullopt},
      {"settings not written", [&] { platform_.write_errors[settings_path] = 57; }, 57, true, ""},
      {"no shell object", [&] { host_.create_error = 429; }, 429, true, installed},
      {"shortcut not saved", [&] { host_.save_error = -2147024891; }, -2147024891, true,
       installed},
      {"update installer refused",
       [&] {
         host_.create_error = 430;
         platform_.start_errors[kUpdateInstaller] = 70;
       },
       70, true, installed},
      // The shell's answer for a desktop it cannot find, and a profile's
      // Desktop that does not exist.
      {"no desktop folder", [&] { host_.desktop.clear(); }, 76, true, installed},
      {"desktop folder missing", [&] { host_.desktop = L"\\\\files\\pupils\\Desktop"; }, 76,
       true, installed},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Reset();
    c.arrange();
    Install();
    ASSERT_FALSE(platform_.messages.empty());
    EXPECT_EQ(platform_.messages.back(),
              (ShownMessage{L"Error Code: " + std::to_wstring(c.number) +
                                L" encountered.  This Launcher Setup program will now close.",
                            L"Problem!", MessageIcon::kCritical}));
    EXPECT_EQ(platform_.exit_code, c.number);
    EXPECT_EQ(Installed(L"Internet.exe"), c.launcher);
    EXPECT_EQ(Installed(L"Internet.cfg") ? std::optional(platform_.files[settings_path])
                                         : std::nullopt,
              c.settings);
    EXPECT_FALSE(ShortcutSaved());
  }
}

// A share that fails, the server's as the Launcher is copied from it or the
// one a redirected desktop lives on as the shortcut is saved: the fatal report
// with the number, and nothing installed past the failure.
TEST_F(InstallationTest, FailingShareEndsWithTheFatalReport) {
  for (const ShareFailure& failure : ShareFailures()) {
    for (bool desktop : {false, true}) {
      SCOPED_TRACE(std::string(failure.what) + (desktop ? ", desktop" : ", server"));
      Reset();
      if (desktop) {
        host_.save_error = failure.number;
      } else {
        platform_.open_errors[kServer + L"Internet.exe"] = failure.number;
      }
      Install(true);
      EXPECT_EQ(platform_.messages,
                (std::vector<ShownMessage>{
                    {L"Error Code: " + std::to_wstring(failure.number) +
                         L" encountered.  This Launcher Setup program will now close.",
                     L"Problem!", MessageIcon::kCritical}}));
      EXPECT_EQ(Installed(L"Internet.exe"), desktop);
      EXPECT_EQ(Installed(L"Internet.cfg"), desktop);
      EXPECT_FALSE(ShortcutSaved());
    }
  }
}
