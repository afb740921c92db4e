#include "launcher/shell_win32.h"

#include <windows.h>
#include <objbase.h>
#include <shellapi.h>

#include "common/ansi.h"
#include "common/system_library_win32.h"

namespace {

// An absent text is passed as no text at all, not as an empty one.
std::optional<std::string> Ansi(const std::optional<std::wstring>& text) {
  return text ? std::optional(ToAnsi(*text)) : std::nullopt;
}

const char* Pointer(const std::optional<std::string>& text) { return text ? text->c_str() : nullptr; }

}  // namespace

intptr_t Win32Shell::Execute(const std::wstring& operation, const std::wstring& document,
                             const std::optional<std::wstring>& parameters,
                             const std::optional<std::wstring>& directory, int32_t show) {
  std::string verb = ToAnsi(operation);
  std::string file = ToAnsi(document);
  std::optional<std::string> arguments = Ansi(parameters);
  std::optional<std::string> folder = Ansi(directory);
  // Loaded for Connect only: the window shows sooner without them. The shell
  // may hand the request to COM-based handlers, so COM starts first.
  SystemFunction<decltype(CoInitializeEx)>(L"ole32.dll", "CoInitializeEx")(
      nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
  auto* shell_execute = SystemFunction<decltype(ShellExecuteA)>(L"shell32.dll", "ShellExecuteA");
  HINSTANCE result = shell_execute(GetDesktopWindow(), verb.c_str(), file.c_str(),
                                   Pointer(arguments), Pointer(folder), show);
  return reinterpret_cast<intptr_t>(result);
}
