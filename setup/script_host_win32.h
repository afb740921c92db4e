// The Windows Script Host object model through COM automation: each object is
// driven by name through IDispatch, as a script would drive it.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>

#include "setup/script_host.h"

// COM for this thread, in the single-threaded apartment that the shell's
// objects expect, for the life of the object.
class ComApartment {
 public:
  ComApartment();
  ~ComApartment();
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;

 private:
  bool joined_;
};

// CoCreateInstance's part: a new object of a class, asked for an interface.
using CreateInstance =
    std::function<HRESULT(REFCLSID class_id, REFIID interface_id, void** object)>;

// The run-time error number for a failed automation call:
//   E_NOINTERFACE                             430 class lacks the interface
//   DISP_E_UNKNOWNNAME DISP_E_MEMBERNOTFOUND  438 no such property or method
//   DISP_E_TYPEMISMATCH                        13 type mismatch
//   E_INVALIDARG                                5 invalid argument
//   E_OUTOFMEMORY                               7 out of memory
//   a Win32 error code as an HRESULT           as ErrorNumberFromWin32, when
//                                              it knows the code (E_ACCESSDENIED
//                                              gives 75)
//   anything else                              the HRESULT itself, a negative
//                                              number, as automation errors are
//                                              numbered
// Creating an object fails with 430 for E_NOINTERFACE and with 429 (cannot
// create object) for anything else.
int32_t ErrorNumberFromHresult(HRESULT result);

// Throws RunTimeError with that number for a failed result.
void CheckHresult(HRESULT result);

// An object without the property or method asked for.
inline constexpr int32_t kNoSuchMember = 438;

class Win32ScriptHost : public ScriptHost {
 public:
  Win32ScriptHost();
  explicit Win32ScriptHost(CreateInstance create) : create_(std::move(create)) {}

  // The shell object asked for IWshShell3, from the shell class of the object
  // model; where that class is not there (as on Wine), from the newer WshShell
  // class of the same model. Where neither is there at all, not registered or
  // its DLL missing or barred, the shell's own link object stands in for the
  // object model. A Windows with the script host never takes that road.
  std::unique_ptr<ScriptShell> CreateShell() override;

 private:
  // COM starts with the first shell object: setup's window shows sooner.
  std::optional<ComApartment> apartment_;
  CreateInstance create_;
};
