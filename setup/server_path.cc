#include "setup/server_path.h"

#include "common/blanks.h"

namespace {

bool OnDriveLetter(const std::wstring& folder) { return folder.size() >= 2 && folder[1] == L':'; }

std::wstring ThroughShare(const std::wstring& folder, const DriveResolver& resolve_drive) {
  std::wstring share;
  if (resolve_drive(folder.substr(0, 2), share) != 0) return kNotAvailable;
  // The whole rest of the folder, however deep: a cut path would name a
  // folder without the access switch.
  return share + TrimBlanks(folder.substr(2));
}

}  // namespace

std::wstring ServerPath(const std::wstring& folder, const DriveResolver& resolve_drive) {
  std::wstring path = OnDriveLetter(folder) ? ThroughShare(folder, resolve_drive) : folder;
  if (!path.ends_with(L'*') && !path.ends_with(L'\\')) path += L'\\';
  return path;
}
