// Reads any bytes as Internet.cfg the way the Launcher and setup do, and checks
// that a file that holds settings is written back byte for byte.
#include <cstdlib>

#include "common/blanks.h"
#include "common/settings_file.h"
#include "fuzz/memory_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  MemoryFile file(data, size);
  auto settings = ReadSettings(file);
  if (!settings) return 0;
  if (RightTrimBlanks(settings->message).size() > kRecordLength ||
      TrimBlanks(settings->server_path).size() > kRecordLength) {
    std::abort();
  }
  // Windows-1252 maps every byte to one character and back, and the write
  // rule only removes the blanks that padding puts back.
  if (EncodeSettings(*settings) != std::string(reinterpret_cast<const char*>(data), size)) {
    std::abort();
  }
  return 0;
}
