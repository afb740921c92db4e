// Reads any bytes as Internet.cfg the way the Launcher and setup do, and checks
// that a file that holds settings is written back byte for byte.
#include <cstdlib>

#include "common/settings_file.h"
#include "fuzz/memory_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  MemoryFile file(data, size);
  bool holds_settings = HoldsSettings(file);
  if (holds_settings != (size == kSettingsFileLength)) std::abort();
  if (!holds_settings) return 0;
  LauncherSettings settings{ReadRecord(file, Record::kMessage), ReadRecord(file, Record::kPrompt),
                            ReadRecord(file, Record::kStartPage),
                            ReadRecord(file, Record::kServerPath)};
  // Windows-1252 maps every byte to one character and back, and the write
  // rule only removes the blanks that padding puts back.
  if (EncodeSettings(settings) != std::string(reinterpret_cast<const char*>(data), size)) {
    std::abort();
  }
  return 0;
}
