#include "setup/script_host_win32.h"

#include <gtest/gtest.h>
#include <shlobj.h>

#include <vector>

#include "common/error.h"
#include "common/error_of.h"

// Where the object model cannot be made at all, the shell's link object
// stands in; any other failure stays a failure.
TEST(Win32ScriptHost, TakesTheLinkObjectOnlyWhereTheObjectModelIsNotThere) {
  struct Case {
    std::vector<HRESULT> results;  // of the script host's classes in turn
    int32_t error;                 // of CreateShell; 0: the link road
  };
  for (const Case& c : {
           Case{{REGDB_E_CLASSNOTREG, REGDB_E_CLASSNOTREG}, 0},
           Case{{CO_E_DLLNOTFOUND, HRESULT_FROM_WIN32(ERROR_MOD_NOT_FOUND)}, 0},
           Case{{HRESULT_FROM_WIN32(ERROR_ACCESS_DISABLED_BY_POLICY), CLASS_E_CLASSNOTAVAILABLE}, 0},
           // Application control: an image no Code Integrity policy accepts, a
           // policy rule, a block by an App Control for Business policy.
           Case{{HRESULT_FROM_WIN32(577), HRESULT_FROM_WIN32(786)}, 0},
           Case{{HRESULT_FROM_WIN32(4551), HRESULT_FROM_WIN32(4551)}, 0},
           Case{{REGDB_E_CLASSNOTREG, E_NOINTERFACE}, 430},
           Case{{E_NOINTERFACE}, 430},
           Case{{REGDB_E_CLASSNOTREG, E_OUTOFMEMORY}, 429},
           Case{{E_ACCESSDENIED}, 429},
       }) {
    std::vector<CLSID> asked;
    Win32ScriptHost host([&](REFCLSID class_id, REFIID interface_id, void** object) {
      asked.push_back(class_id);
      if (class_id == CLSID_ShellLink) {
        return CoCreateInstance(class_id, nullptr, CLSCTX_INPROC_SERVER, interface_id, object);
      }
      *object = nullptr;
      return c.results.at(asked.size() - 1);
    });
    std::unique_ptr<ScriptShell> shell;
    EXPECT_EQ(ErrorOf([&] { shell = host.CreateShell(); }), c.error);
    EXPECT_EQ(asked.size(), c.results.size());
    if (c.error == 0) {
      shell->CreateShortcut(L"C:\\unsaved.lnk");
      EXPECT_EQ(asked.back(), CLSID_ShellLink);
    }
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
