#include "setup/script_host_win32.h"

#include <oleauto.h>
#include <wrl/client.h>

#include <utility>

#include "common/error.h"
#include "common/platform_win32.h"
#include "setup/shell_link_win32.h"

using Microsoft::WRL::ComPtr;

namespace {

constexpr int32_t kTypeMismatch = 13;
constexpr int32_t kObjectRequired = 424;

// {F935DC22-1CF0-11D0-ADB9-00C04FD58A0B}
constexpr CLSID kShellClass = {0xF935DC22, 0x1CF0, 0x11D0,
                               {0xAD, 0xB9, 0x00, 0xC0, 0x4F, 0xD5, 0x8A, 0x0B}};
// {72C24DD5-D70A-438B-8A42-98424B88AFB8}
constexpr CLSID kWshShellClass = {0x72C24DD5, 0xD70A, 0x438B,
                                  {0x8A, 0x42, 0x98, 0x42, 0x4B, 0x88, 0xAF, 0xB8}};
// IWshShell3 {41904400-BE18-11D3-A28B-00104BD35090}, a dual interface: the
// pointer is also the object's IDispatch.
constexpr IID kIWshShell3 = {0x41904400, 0xBE18, 0x11D3,
                             {0xA2, 0x8B, 0x00, 0x10, 0x4B, 0xD3, 0x50, 0x90}};

// How Windows refuses to load a DLL that application control does not allow,
// besides ERROR_ACCESS_DISABLED_BY_POLICY (an AppLocker or software
// restriction rule); mingw-w64's headers lack them.
// ERROR_INVALID_IMAGE_HASH: no Code Integrity policy accepts the file's
// signature or hash.
constexpr unsigned long kInvalidImageHash = 577;
// ERROR_ACCESS_DISABLED_NO_SAFER_UI_BY_POLICY: restricted by a policy rule.
constexpr unsigned long kRestrictedByPolicyRule = 786;
// ERROR_SYSTEM_INTEGRITY_POLICY_VIOLATION: blocked by an App Control for
// Business policy (Smart App Control is one).
constexpr unsigned long kIntegrityPolicyViolation = 4551;

// Whether a class's object cannot be made at all on this Windows: the class
// is not registered, or the DLL that serves it is missing, unusable or barred
// by policy. Other failures are failures of a model that is there.
bool Unavailable(HRESULT created) {
  for (HRESULT unavailable :
       {REGDB_E_CLASSNOTREG, CLASS_E_CLASSNOTAVAILABLE, CO_E_DLLNOTFOUND, CO_E_ERRORINDLL,
        HRESULT_FROM_WIN32(ERROR_MOD_NOT_FOUND), HRESULT_FROM_WIN32(ERROR_BAD_EXE_FORMAT),
        HRESULT_FROM_WIN32(ERROR_ACCESS_DISABLED_BY_POLICY), HRESULT_FROM_WIN32(kInvalidImageHash),
        HRESULT_FROM_WIN32(kRestrictedByPolicyRule),
        HRESULT_FROM_WIN32(kIntegrityPolicyViolation)}) {
    if (created == unavailable) return true;
  }
  return false;
}

class Variant {
 public:
  Variant() { VariantInit(&value_); }
  explicit Variant(const std::wstring& text) : Variant() {
    V_BSTR(&value_) = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    if (!V_BSTR(&value_)) throw RunTimeError(errors::kOutOfMemory);
    V_VT(&value_) = VT_BSTR;
  }
  explicit Variant(int32_t number) : Variant() {
    V_VT(&value_) = VT_I4;
    V_I4(&value_) = number;
  }
  Variant(Variant&& other) noexcept : value_(other.value_) { VariantInit(&other.value_); }
  Variant(const Variant&) = delete;
  Variant& operator=(const Variant&) = delete;
  ~Variant() { VariantClear(&value_); }

  VARIANT* get() { return &value_; }

  std::wstring Text() {
    Variant text;
    CheckHresult(VariantChangeType(text.get(), &value_, 0, VT_BSTR));
    BSTR bytes = V_BSTR(text.get());
    return std::wstring(bytes, SysStringLen(bytes));
  }

  ComPtr<IDispatch> Object() const {
    if (V_VT(&value_) != VT_DISPATCH || !V_DISPATCH(&value_)) {
      throw RunTimeError(kObjectRequired);
    }
    return V_DISPATCH(&value_);
  }

 private:
  VARIANT value_;
};

// What an object's member raised, freed when done.
struct ExceptionInfo : EXCEPINFO {
  ExceptionInfo() : EXCEPINFO{} {}
  ExceptionInfo(const ExceptionInfo&) = delete;
  ExceptionInfo& operator=(const ExceptionInfo&) = delete;
  ~ExceptionInfo() {
    SysFreeString(bstrSource);
    SysFreeString(bstrDescription);
    SysFreeString(bstrHelpFile);
  }
  HRESULT Code() {
    if (pfnDeferredFillIn) pfnDeferredFillIn(this);
    return FAILED(scode) ? scode : E_FAIL;
  }
};

// Reads or calls a member of an automation object by name, with at most one
// argument, or assigns a property.
Variant Invoke(IDispatch& object, const wchar_t* name, WORD kind, Variant* argument = nullptr) {
  DISPID member = 0;
  auto* names = const_cast<LPOLESTR>(name);
  CheckHresult(object.GetIDsOfNames(IID_NULL, &names, 1, LOCALE_USER_DEFAULT, &member));

  DISPID assigned = DISPID_PROPERTYPUT;
  DISPPARAMS parameters{};
  if (argument) {
    parameters.rgvarg = argument->get();
    parameters.cArgs = 1;
  }
  if (kind == DISPATCH_PROPERTYPUT) {
    parameters.rgdispidNamedArgs = &assigned;
    parameters.cNamedArgs = 1;
  }
  Variant result;
  ExceptionInfo raised;
  HRESULT outcome =
      object.Invoke(member, IID_NULL, LOCALE_USER_DEFAULT, kind, &parameters,
                    kind == DISPATCH_PROPERTYPUT ? nullptr : result.get(), &raised, nullptr);
  CheckHresult(outcome == DISP_E_EXCEPTION ? raised.Code() : outcome);
  return result;
}

class DispatchShortcut : public ScriptShortcut {
 public:
  explicit DispatchShortcut(ComPtr<IDispatch> shortcut) : shortcut_(std::move(shortcut)) {}

  void SetText(const std::wstring& property, const std::wstring& value) override {
    Variant text(value);
    Invoke(*shortcut_.Get(), property.c_str(), DISPATCH_PROPERTYPUT, &text);
  }
  void SetNumber(const std::wstring& property, int32_t value) override {
    Variant number(value);
    Invoke(*shortcut_.Get(), property.c_str(), DISPATCH_PROPERTYPUT, &number);
  }
  void Save() override { Invoke(*shortcut_.Get(), L"Save", DISPATCH_METHOD); }

 private:
  ComPtr<IDispatch> shortcut_;
};

class DispatchShell : public ScriptShell {
 public:
  explicit DispatchShell(ComPtr<IDispatch> shell) : shell_(std::move(shell)) {}

  // Windows' object model answers the empty text for a folder that is not
  // available; Wine's fails with E_FAIL, which is taken for the same answer.
  std::wstring SpecialFolder(const std::wstring& name) override {
    ComPtr<IDispatch> folders =
        Invoke(*shell_.Get(), L"SpecialFolders", DISPATCH_PROPERTYGET).Object();
    Variant folder(name);
    try {
      return Invoke(*folders.Get(), L"Item", DISPATCH_METHOD | DISPATCH_PROPERTYGET, &folder)
          .Text();
    } catch (const RunTimeError& error) {
      if (error.number() != ErrorNumberFromHresult(E_FAIL)) throw;
      return std::wstring();
    }
  }

  std::unique_ptr<ScriptShortcut> CreateShortcut(const std::wstring& path) override {
    Variant file(path);
    return std::make_unique<DispatchShortcut>(
        Invoke(*shell_.Get(), L"CreateShortcut", DISPATCH_METHOD, &file).Object());
  }

 private:
  ComPtr<IDispatch> shell_;
};

}  // namespace

ComApartment::ComApartment()
    : joined_(SUCCEEDED(
          CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE))) {}

ComApartment::~ComApartment() {
  if (joined_) CoUninitialize();
}

void CheckHresult(HRESULT result) {
  if (FAILED(result)) throw RunTimeError(ErrorNumberFromHresult(result));
}

int32_t ErrorNumberFromHresult(HRESULT result) {
  switch (result) {
    case E_NOINTERFACE: return errors::kNoSuchInterface;
    case DISP_E_UNKNOWNNAME: case DISP_E_MEMBERNOTFOUND: return kNoSuchMember;
    case DISP_E_TYPEMISMATCH: return kTypeMismatch;
    case E_INVALIDARG: return errors::kInvalidCall;
    case E_OUTOFMEMORY: return errors::kOutOfMemory;
  }
  if (HRESULT_FACILITY(result) == FACILITY_WIN32) {
    int32_t number = ErrorNumberFromWin32(HRESULT_CODE(result));
    if (number != errors::kInternal) return number;
  }
  return static_cast<int32_t>(result);
}

Win32ScriptHost::Win32ScriptHost()
    : create_([](REFCLSID class_id, REFIID interface_id, void** object) {
        return CoCreateInstance(class_id, nullptr, CLSCTX_SERVER, interface_id, object);
      }) {}

std::unique_ptr<ScriptShell> Win32ScriptHost::CreateShell() {
  if (!apartment_) apartment_.emplace();
  ComPtr<IDispatch> shell;
  auto* object = reinterpret_cast<void**>(shell.ReleaseAndGetAddressOf());
  HRESULT created = create_(kShellClass, kIWshShell3, object);
  if (Unavailable(created)) created = create_(kWshShellClass, kIWshShell3, object);
  if (created == E_NOINTERFACE) throw RunTimeError(errors::kNoSuchInterface);
  if (Unavailable(created)) return CreateShellLinkShell(create_);
  if (FAILED(created)) throw RunTimeError(errors::kCannotCreateObject);
  return std::make_unique<DispatchShell>(std::move(shell));
}
