// Reads any bytes as Internet.set the way the switch tool and the Launcher do.
#include <cstdlib>

#include "common/ansi.h"
#include "common/blanks.h"
#include "common/error.h"
#include "common/switch_file.h"
#include "fuzz/memory_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  MemoryFile file(data, size);
  AccessSwitch first_byte = ReadSwitchFirstByte(file);
  if ((first_byte == AccessSwitch::kStopped) != (size > 0 && data[0] == 'N')) std::abort();
  try {
    std::wstring line = TrimBlanks(FromAnsi(ReadFirstLine(file)));
    if (line.find(L'\r') != std::wstring::npos) std::abort();
  } catch (const RunTimeError& e) {
    if (size != 0 || e.number() != errors::kInputPastEnd) std::abort();
  }
  return 0;
}
