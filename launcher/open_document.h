// Opening a document through the workstation's shell, with the shell's Open
// With dialog when no program is associated with it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "common/platform.h"

// The shell's request to perform a verb on a document.
class Shell {
 public:
  virtual ~Shell() = default;
  // Above 32 the request was carried out; 31 means that no program is
  // associated with the document.
  virtual intptr_t Execute(const std::wstring& operation, const std::wstring& document,
                           const std::optional<std::wstring>& parameters,
                           const std::optional<std::wstring>& directory, int32_t show) = 0;
};

inline constexpr intptr_t kNoAssociation = 31;

// Asks the shell to perform `operation` on `document`; when no program is
// associated with it, starts the Open With dialog for it instead. A failed
// request is not reported.
void OpenDocument(Shell& shell, Platform& platform, const std::wstring& operation,
                  const std::wstring& document, const std::optional<std::wstring>& parameters,
                  const std::optional<std::wstring>& directory, int32_t show);
