// Reads any bytes as Internet.cfg the way the Launcher and setup do: only 2000
// bytes hold settings, and each record is read as the 500 bytes at its place,
// blanks and all (every ASCII byte is its own character). A file that holds
// settings is written back byte for byte.
#include <cstdlib>

#include "common/settings_file.h"
#include "fuzz/memory_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  MemoryFile file(data, size);
  bool holds_settings = HoldsSettings(file);
  if (holds_settings != (size == 2000)) std::abort();
  if (!holds_settings) return 0;
  std::wstring records[4];
  for (size_t r = 0; r < 4; ++r) {
    records[r] = ReadRecord(file, static_cast<Record>(r + 1));
    if (records[r].size() != 500) std::abort();
    for (size_t i = 0; i < 500; ++i) {
      uint8_t byte = data[r * 500 + i];
      if (byte < 0x80 && records[r][i] != byte) std::abort();
    }
  }
  // Windows-1252 maps every byte to one character and back, and the write
  // rule only removes the blanks that padding puts back.
  LauncherSettings settings{records[0], records[1], records[2], records[3]};
  if (EncodeSettings(settings) != std::string(reinterpret_cast<const char*>(data), size)) {
    std::abort();
  }
  return 0;
}
