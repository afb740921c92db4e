// Reads any bytes as Internet.set with the switch tool's reader and the
// Launcher's, and checks each decision against its rule written out here:
// the switch tool stops at a first byte "N", the Launcher at a first line (up
// to the first carriage return) that is "N" between blanks; an empty file
// raises 62 for the Launcher.
#include <cstdlib>
#include <string>

#include "common/error.h"
#include "common/fake_platform.h"
#include "common/switch_file.h"
#include "fuzz/memory_file.h"

namespace {

bool LineSaysStopped(const std::string& bytes) {
  std::string line = bytes.substr(0, bytes.find('\r'));
  size_t first = line.find_first_not_of(' ');
  return first != std::string::npos &&
         line.substr(first, line.find_last_not_of(' ') + 1 - first) == "N";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  MemoryFile file(data, size);
  bool stopped = ReadSwitchFirstByte(file) == AccessSwitch::kStopped;
  if (stopped != (size > 0 && bytes[0] == 'N')) std::abort();

  FakePlatform platform;
  platform.files[L"\\\\server\\share\\Internet.set"] = bytes;
  try {
    stopped = ReadSwitchFirstLine(platform, L"\\\\server\\share\\Internet.set") ==
              AccessSwitch::kStopped;
    if (size == 0 || stopped != LineSaysStopped(bytes)) std::abort();
  } catch (const RunTimeError& e) {
    if (size != 0 || e.number() != errors::kInputPastEnd) std::abort();
  }
  return 0;
}
