#include "setup/script_host_win32.h"

#include <gtest/gtest.h>

#include <vector>

#include "common/error.h"
#include "common/error_of.h"

TEST(Win32ScriptHost, TriesTheNewerClassOnlyWhenTheFirstIsNotRegistered) {
  struct Case {
    std::vector<HRESULT> results;  // of the creations in turn
    int32_t error;
  };
  for (const Case& c : {Case{{REGDB_E_CLASSNOTREG, E_NOINTERFACE}, 430},
                        Case{{REGDB_E_CLASSNOTREG, REGDB_E_CLASSNOTREG}, 429},
                        Case{{E_NOINTERFACE}, 430}, Case{{CO_E_DLLNOTFOUND}, 429}}) {
    size_t asked = 0;
    Win32ScriptHost host([&](REFCLSID, REFIID, void** object) {
      *object = nullptr;
      return c.results.at(asked++);
    });
    EXPECT_EQ(ErrorOf([&] { host.CreateShell(); }), c.error);
    EXPECT_EQ(asked, c.results.size());
  }
}

TEST(Win32ScriptHost, FailedCallsGiveRunTimeErrorNumbers) {
  EXPECT_EQ(ErrorNumberFromHresult(E_ACCESSDENIED), 75);
  EXPECT_EQ(ErrorNumberFromHresult(HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND)), 76);
  EXPECT_EQ(ErrorNumberFromHresult(E_FAIL), static_cast<int32_t>(E_FAIL));
  // A shortcut saved onto a share that refuses the user or has gone away.
  for (unsigned long code : {ERROR_LOGON_FAILURE, ERROR_NETNAME_DELETED, ERROR_SEM_TIMEOUT}) {
    EXPECT_TRUE(IsFileAccessError(ErrorNumberFromHresult(HRESULT_FROM_WIN32(code)))) << code;
  }

  // Through the installed object model.
  ComApartment apartment;
  std::unique_ptr<ScriptShortcut> shortcut =
      Win32ScriptHost().CreateShell()->CreateShortcut(L"C:\\unsaved.lnk");
  EXPECT_EQ(ErrorOf([&] { shortcut->SetText(L"NoSuchProperty", L"x"); }), 438);
}
