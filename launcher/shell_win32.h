// The shell request on Windows: ShellExecuteA, owned by the desktop window.
#pragma once

#include "launcher/open_document.h"

class Win32Shell : public Shell {
 public:
  intptr_t Execute(const std::wstring& operation, const std::wstring& document,
                   const std::optional<std::wstring>& parameters,
                   const std::optional<std::wstring>& directory, int32_t show) override;
};
