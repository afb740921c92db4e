#include "setup/shell_link_win32.h"

#include <gtest/gtest.h>
#include <objbase.h>
#include <shlobj.h>
#include <wrl/client.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <vector>

#include "common/error_of.h"

using Microsoft::WRL::ComPtr;

namespace {

const CreateInstance kCoCreateInstance = [](REFCLSID class_id, REFIID interface_id,
                                            void** object) {
  return CoCreateInstance(class_id, nullptr, CLSCTX_SERVER, interface_id, object);
};

// A shortcut file as the shell reads it back, and the show command as it is
// stored: the shell reads a stored 0 as a normal window.
struct Link {
  std::wstring target, description, arguments, working_directory;
  int32_t show = -1;
  bool operator==(const Link&) const = default;
};

void PrintTo(const Link& link, std::ostream* out) {
  *out << std::filesystem::path(link.target).string() << " \""
       << std::filesystem::path(link.description).string() << "\" \""
       << std::filesystem::path(link.arguments).string() << "\" "
       << std::filesystem::path(link.working_directory).string() << " show " << link.show;
}

int32_t StoredShowCommand(const std::wstring& path) {
  constexpr std::streamoff kShowCommandOffset = 0x3C;
  std::ifstream file(std::filesystem::path(path), std::ios::binary);
  file.seekg(kShowCommandOffset);
  int32_t show = -1;
  file.read(reinterpret_cast<char*>(&show), sizeof show);
  return show;
}

Link Read(const std::wstring& path) {
  ComPtr<IShellLinkW> link;
  EXPECT_EQ(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                             reinterpret_cast<void**>(link.GetAddressOf())),
            S_OK);
  ComPtr<IPersistFile> file;
  EXPECT_EQ(link.As(&file), S_OK);
  EXPECT_EQ(file->Load(path.c_str(), STGM_READ), S_OK);
  wchar_t text[4][MAX_PATH] = {};
  link->GetPath(text[0], MAX_PATH, nullptr, SLGP_RAWPATH);
  link->GetDescription(text[1], MAX_PATH);
  link->GetArguments(text[2], MAX_PATH);
  link->GetWorkingDirectory(text[3], MAX_PATH);
  return {text[0], text[1], text[2], text[3], StoredShowCommand(path)};
}

// The installation's shortcut, through a shell of either road.
void MakeShortcut(ScriptShell& shell, const std::wstring& path) {
  std::unique_ptr<ScriptShortcut> shortcut = shell.CreateShortcut(path);
  shortcut->SetText(L"TargetPath", L"C:\\windows\\Internet.exe");
  shortcut->SetText(L"Description", L"Application");
  shortcut->SetText(L"Arguments", L"");
  shortcut->SetText(L"WorkingDirectory", L"C:\\windows");
  shortcut->SetNumber(L"WindowStyle", 0);
  shortcut->Save();
}

class ShellLinkShell : public testing::Test {
 protected:
  void SetUp() override {
    std::random_device random;
    folder_ = std::filesystem::temp_directory_path() / ("links-" + std::to_string(random()));
    std::filesystem::create_directories(folder_);
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }
  std::wstring Path(const wchar_t* name) const { return folder_.wstring() + L"\\" + name; }

  ComApartment apartment_;
  std::filesystem::path folder_;
};

}  // namespace

TEST_F(ShellLinkShell, WritesTheShortcutTheScriptHostWrites) {
  std::unique_ptr<ScriptShell> script_host = Win32ScriptHost().CreateShell();
  std::unique_ptr<ScriptShell> links = CreateShellLinkShell(kCoCreateInstance);
  EXPECT_EQ(links->SpecialFolder(L"Desktop"), script_host->SpecialFolder(L"Desktop"));

  MakeShortcut(*script_host, Path(L"script host.lnk"));
  MakeShortcut(*links, Path(L"shell link.lnk"));
  Link expected{L"C:\\windows\\Internet.exe", L"Application", L"", L"C:\\windows", 0};
  EXPECT_EQ(Read(Path(L"script host.lnk")), expected);
  EXPECT_EQ(Read(Path(L"shell link.lnk")), expected);
}

TEST_F(ShellLinkShell, ReplacesAnExistingShortcut) {
  std::unique_ptr<ScriptShell> links = CreateShellLinkShell(kCoCreateInstance);
  std::unique_ptr<ScriptShortcut> old = links->CreateShortcut(Path(L"Internet Explorer.lnk"));
  old->SetText(L"TargetPath", L"C:\\old\\browser.exe");
  old->SetText(L"Arguments", L"--old");
  old->SetNumber(L"WindowStyle", 3);
  old->Save();
  MakeShortcut(*links, Path(L"Internet Explorer.lnk"));
  EXPECT_EQ(Read(Path(L"Internet Explorer.lnk")),
            (Link{L"C:\\windows\\Internet.exe", L"Application", L"", L"C:\\windows", 0}));
}

TEST_F(ShellLinkShell, FailuresHaveRunTimeErrorNumbers) {
  std::unique_ptr<ScriptShell> links = CreateShellLinkShell(kCoCreateInstance);
  EXPECT_EQ(ErrorOf([&] { links->SpecialFolder(L"Favorites"); }), 5);
  std::unique_ptr<ScriptShortcut> shortcut = links->CreateShortcut(Path(L"no\\such\\x.lnk"));
  EXPECT_EQ(ErrorOf([&] { shortcut->SetText(L"IconLocation", L"x"); }), 438);
  EXPECT_EQ(ErrorOf([&] { shortcut->SetNumber(L"Hotkey", 1); }), 438);
  EXPECT_EQ(ErrorOf([&] { shortcut->Save(); }), 76);

  std::unique_ptr<ScriptShell> without_links =
      CreateShellLinkShell([](REFCLSID, REFIID, void** object) {
        *object = nullptr;
        return REGDB_E_CLASSNOTREG;
      });
  EXPECT_EQ(ErrorOf([&] { without_links->CreateShortcut(Path(L"x.lnk")); }), 429);
}
