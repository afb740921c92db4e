// A script host for headless tests: it records what the installation asks of
// the object model, in order, and fails where told to.
#pragma once

#include <string>
#include <vector>

#include "common/error.h"
#include "setup/script_host.h"

class FakeScriptHost : public ScriptHost {
 public:
  int32_t create_error = 0;  // raised by CreateShell when nonzero
  int32_t save_error = 0;    // raised by Save when nonzero
  std::wstring desktop = L"C:\\Users\\admin\\Desktop";
  // "create shell", "special folder <name>", "shortcut <path>",
  // "<property>=<value>", "save", "release shortcut", "release shell"
  std::vector<std::wstring> log;

  std::unique_ptr<ScriptShell> CreateShell() override {
    if (create_error) throw RunTimeError(create_error);
    log.push_back(L"create shell");
    return std::make_unique<Shell>(*this);
  }

 private:
  class Shortcut : public ScriptShortcut {
   public:
    explicit Shortcut(FakeScriptHost& host) : host_(host) {}
    ~Shortcut() override { host_.log.push_back(L"release shortcut"); }
    void SetText(const std::wstring& property, const std::wstring& value) override {
      host_.log.push_back(property + L"=" + value);
    }
    void SetNumber(const std::wstring& property, int32_t value) override {
      SetText(property, std::to_wstring(value));
    }
    void Save() override {
      if (host_.save_error) throw RunTimeError(host_.save_error);
      host_.log.push_back(L"save");
    }

   private:
    FakeScriptHost& host_;
  };

  class Shell : public ScriptShell {
   public:
    explicit Shell(FakeScriptHost& host) : host_(host) {}
    ~Shell() override { host_.log.push_back(L"release shell"); }
    std::wstring SpecialFolder(const std::wstring& name) override {
      host_.log.push_back(L"special folder " + name);
      return host_.desktop;
    }
    std::unique_ptr<ScriptShortcut> CreateShortcut(const std::wstring& path) override {
      host_.log.push_back(L"shortcut " + path);
      return std::make_unique<Shortcut>(host_);
    }

   private:
    FakeScriptHost& host_;
  };
};
