// A script host for headless tests: the shortcut files it saves are kept in
// memory with their properties, and it fails where told to.
#pragma once

#include <map>
#include <string>

#include "common/error.h"
#include "setup/script_host.h"

class FakeScriptHost : public ScriptHost {
 public:
  using Properties = std::map<std::wstring, std::wstring>;

  int32_t create_error = 0;  // raised by CreateShell when nonzero
  int32_t save_error = 0;    // raised by Save when nonzero
  std::wstring desktop = L"C:\\Users\\admin\\Desktop";
  // The shortcut files on disk, by path: each property as saved.
  std::map<std::wstring, Properties> shortcuts;

  std::unique_ptr<ScriptShell> CreateShell() override {
    if (create_error) throw RunTimeError(create_error);
    return std::make_unique<Shell>(*this);
  }

 private:
  class Shortcut : public ScriptShortcut {
   public:
    Shortcut(FakeScriptHost& host, std::wstring path) : host_(host), path_(std::move(path)) {}
    void SetText(const std::wstring& property, const std::wstring& value) override {
      properties_[property] = value;
    }
    void SetNumber(const std::wstring& property, int32_t value) override {
      SetText(property, std::to_wstring(value));
    }
    // Replaces a file of the same name.
    void Save() override {
      if (host_.save_error) throw RunTimeError(host_.save_error);
      host_.shortcuts[path_] = properties_;
    }

   private:
    FakeScriptHost& host_;
    std::wstring path_;
    Properties properties_;
  };

  class Shell : public ScriptShell {
   public:
    explicit Shell(FakeScriptHost& host) : host_(host) {}
    std::wstring SpecialFolder(const std::wstring& name) override {
      return name == L"Desktop" ? host_.desktop : std::wstring();
    }
    std::unique_ptr<ScriptShortcut> CreateShortcut(const std::wstring& path) override {
      return std::make_unique<Shortcut>(host_, path);
    }

   private:
    FakeScriptHost& host_;
  };
};
