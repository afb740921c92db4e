#include "import_hooks.h"

namespace {

void Patch(IMAGE_THUNK_DATA& slot, void* replacement) {
  DWORD protection = 0;
  VirtualProtect(&slot.u1.Function, sizeof slot.u1.Function, PAGE_READWRITE, &protection);
  slot.u1.Function = reinterpret_cast<ULONG_PTR>(replacement);
  VirtualProtect(&slot.u1.Function, sizeof slot.u1.Function, protection, &protection);
}

}  // namespace

void PatchImports(std::initializer_list<Hook> hooks) {
  auto* base = reinterpret_cast<BYTE*>(GetModuleHandleW(nullptr));
  auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(
      base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
  const IMAGE_DATA_DIRECTORY& directory =
      nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  for (auto* imports = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + directory.VirtualAddress);
       imports->Name; ++imports) {
    const char* library = reinterpret_cast<char*>(base + imports->Name);
    auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + imports->OriginalFirstThunk);
    auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + imports->FirstThunk);
    for (; names->u1.AddressOfData; ++names, ++slots) {
      if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
      auto* name = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
      for (const Hook& hook : hooks) {
        if (lstrcmpiA(library, hook.library) == 0 &&
            lstrcmpA(reinterpret_cast<char*>(name->Name), hook.name) == 0) {
          Patch(*slots, hook.replacement);
        }
      }
    }
  }
}
