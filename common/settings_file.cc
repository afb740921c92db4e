#include "settings_file.h"

#include <array>

#include "ansi.h"
#include "blanks.h"

namespace {

std::array<const std::wstring LauncherSettings::*, kRecordCount> Records() {
  return {&LauncherSettings::message, &LauncherSettings::prompt, &LauncherSettings::start_page,
          &LauncherSettings::server_path};
}

int64_t RecordOffset(size_t index) { return static_cast<int64_t>(index * kRecordLength); }

}  // namespace

std::string EncodeRecord(std::wstring_view text) {
  std::wstring record = RightTrimBlanks(text).append(kRecordLength, L' ').substr(0, kRecordLength);
  // A code page with double-byte characters could change the length: the
  // record stays 500 bytes whatever the conversion gives.
  std::string bytes = ToAnsi(record);
  bytes.resize(kRecordLength, ' ');
  return bytes;
}

std::string EncodeSettings(const LauncherSettings& settings) {
  std::string bytes;
  for (auto field : Records()) bytes += EncodeRecord(settings.*field);
  return bytes;
}

bool HoldsSettings(File& file) { return file.Length() == kSettingsFileLength; }

std::wstring ReadRecord(File& file, Record record) {
  return FromAnsi(file.ReadAt(RecordOffset(static_cast<size_t>(record) - 1), kRecordLength));
}

void WriteSettings(File& file, const LauncherSettings& settings) {
  size_t index = 0;
  for (auto field : Records()) file.WriteAt(RecordOffset(index++), EncodeRecord(settings.*field));
}
