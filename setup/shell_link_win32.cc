#include "setup/shell_link_win32.h"

#include <objbase.h>
#include <shlobj.h>
#include <wrl/client.h>

#include <utility>

#include "common/error.h"
#include "common/system_library_win32.h"

using Microsoft::WRL::ComPtr;

namespace {

class ShellLinkShortcut : public ScriptShortcut {
 public:
  ShellLinkShortcut(ComPtr<IShellLinkW> link, std::wstring path)
      : link_(std::move(link)), path_(std::move(path)) {}

  void SetText(const std::wstring& property, const std::wstring& value) override {
    const wchar_t* text = value.c_str();
    if (property == L"TargetPath") {
      CheckHresult(link_->SetPath(text));
    } else if (property == L"Description") {
      CheckHresult(link_->SetDescription(text));
    } else if (property == L"Arguments") {
      CheckHresult(link_->SetArguments(text));
    } else if (property == L"WorkingDirectory") {
      CheckHresult(link_->SetWorkingDirectory(text));
    } else {
      throw RunTimeError(kNoSuchMember);
    }
  }

  // The script host stores WindowStyle as the link's show command, 0 included.
  void SetNumber(const std::wstring& property, int32_t value) override {
    if (property != L"WindowStyle") throw RunTimeError(kNoSuchMember);
    CheckHresult(link_->SetShowCmd(value));
  }

  // Writes the file, replacing one of the same name.
  void Save() override {
    ComPtr<IPersistFile> file;
    CheckHresult(link_.As(&file));
    CheckHresult(file->Save(path_.c_str(), TRUE));
  }

 private:
  ComPtr<IShellLinkW> link_;
  std::wstring path_;
};

// What the shell's known-folder API hands back, freed as COM memory.
class KnownFolderPath {
 public:
  KnownFolderPath() = default;
  KnownFolderPath(const KnownFolderPath&) = delete;
  KnownFolderPath& operator=(const KnownFolderPath&) = delete;
  ~KnownFolderPath() { CoTaskMemFree(path_); }
  PWSTR* put() { return &path_; }
  std::wstring Text() const { return path_; }

 private:
  PWSTR path_ = nullptr;
};

class ShellLinkShell : public ScriptShell {
 public:
  explicit ShellLinkShell(CreateInstance create) : create_(std::move(create)) {}

  // The user's desktop, "Desktop", or the one all users see,
  // "AllUsersDesktop". As the script host's object model does, the empty text
  // for a desktop folder that is not available: the shell checks that it is
  // there.
  std::wstring SpecialFolder(const std::wstring& name) override {
    if (name != L"Desktop" && name != L"AllUsersDesktop") {
      throw RunTimeError(errors::kInvalidCall);
    }
    // Loaded only on this road: the script host's has no need of it.
    auto* known_folder =
        SystemFunction<decltype(SHGetKnownFolderPath)>(L"shell32.dll", "SHGetKnownFolderPath");
    KnownFolderPath desktop;
    if (FAILED(known_folder(name == L"Desktop" ? FOLDERID_Desktop : FOLDERID_PublicDesktop, 0,
                            nullptr, desktop.put()))) {
      return std::wstring();
    }
    return desktop.Text();
  }

  std::unique_ptr<ScriptShortcut> CreateShortcut(const std::wstring& path) override {
    ComPtr<IShellLinkW> link;
    HRESULT created = create_(CLSID_ShellLink, IID_IShellLinkW,
                              reinterpret_cast<void**>(link.ReleaseAndGetAddressOf()));
    if (FAILED(created)) throw RunTimeError(errors::kCannotCreateObject);
    return std::make_unique<ShellLinkShortcut>(std::move(link), path);
  }

 private:
  CreateInstance create_;
};

}  // namespace

std::unique_ptr<ScriptShell> CreateShellLinkShell(CreateInstance create) {
  return std::make_unique<ShellLinkShell>(std::move(create));
}
