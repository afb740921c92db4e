// Hooks a program's own calls of a Win32 function: the exe's import table is
// pointed at a replacement, so the C run time and the system's DLLs keep the
// real function. Used by the test DLLs that the injector loads into a program
// before it runs.
#pragma once

#include <windows.h>

#include <initializer_list>

struct Hook {
  const char* library;
  const char* name;
  void* replacement;
};

// A hook of `name` in `library`; `real` receives the function it replaces.
template <typename Function>
Hook HookOf(const char* library, const char* name, Function replacement, Function* real) {
  *real = reinterpret_cast<Function>(
      reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleA(library), name)));
  return {library, name, reinterpret_cast<void*>(replacement)};
}

// Points the exe's imports of the hooked names at their replacements.
void PatchImports(std::initializer_list<Hook> hooks);
