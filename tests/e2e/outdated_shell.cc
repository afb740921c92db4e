// A stand-in for an outdated Windows Script Host, for the end-to-end tests: a
// COM server for the shell class whose objects offer none of the interfaces
// asked for, as an object model older than IWshShell3 would answer. Registered
// in a test prefix, it leads setup's installation to error 430.
#include <windows.h>
#include <objbase.h>

namespace {

class ShellClassFactory : public IClassFactory {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID interface_id, void** object) override {
    if (interface_id == IID_IUnknown || interface_id == IID_IClassFactory) {
      *object = this;
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  // The factory lives as long as the library: nothing to count.
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }

  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID, void** object) override {
    *object = nullptr;
    return outer ? CLASS_E_NOAGGREGATION : E_NOINTERFACE;
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }
};

}  // namespace

// Exported through outdated_shell.def.
STDAPI DllGetClassObject(REFCLSID, REFIID interface_id, void** object) {
  static ShellClassFactory factory;
  return factory.QueryInterface(interface_id, object);
}

STDAPI DllCanUnloadNow() { return S_FALSE; }
