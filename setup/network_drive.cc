#include "setup/network_drive.h"

#include <string_view>

#include "common/ansi.h"
#include "common/blanks.h"
#include "common/error.h"

namespace {

// Names of up to 254 characters fit, with their NUL.
constexpr size_t kBufferLength = 255;
constexpr int32_t kLookupFailed = 50;

// The lookup leaves blanks behind the name's NUL: trimming takes them away,
// and then the NUL is the last character.
std::wstring NameBeforeNul(std::wstring_view buffer) {
  std::wstring name = TrimBlanks(buffer);
  if (name.empty()) throw RunTimeError(errors::kInvalidCall);
  name.pop_back();
  return name;
}

}  // namespace

int32_t ResolveNetworkDrive(std::wstring drive, std::wstring& remote,
                            const ConnectionLookup& lookup) {
  try {
    std::string buffer(kBufferLength, ' ');
    auto length = static_cast<uint32_t>(buffer.size());
    int32_t status = lookup(ToAnsi(drive).c_str(), buffer.data(), &length);
    if (status != 0) {
      remote = drive + L"\\";
      return status;
    }
    remote = NameBeforeNul(FromAnsi(buffer));
    return 0;
  } catch (const std::exception&) {
    remote = drive;
    return kLookupFailed;
  }
}
