// Internet.cfg: four fixed-length records of 500 bytes of ANSI text, padded
// with blanks, and nothing else. Only a file of exactly 2000 bytes holds
// settings; any other length means none.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform.h"

struct LauncherSettings {
  std::wstring message;      // record 1: the agreement message
  std::wstring prompt;       // record 2: the acceptance prompt
  std::wstring start_page;   // record 3
  std::wstring server_path;  // record 4: UNC folder of Internet.set, or "*Not Available*"
  bool operator==(const LauncherSettings&) const = default;
};

enum class Record { kMessage = 1, kPrompt, kStartPage, kServerPath };

inline constexpr size_t kRecordLength = 500;
inline constexpr int kRecordCount = 4;
inline constexpr int64_t kSettingsFileLength = kRecordLength * kRecordCount;

// The 500 bytes a text is stored as: trailing blanks removed, padded with
// blanks, cut to 500 characters, converted to ANSI.
std::string EncodeRecord(std::wstring_view text);
// All 2000 bytes of a settings file.
std::string EncodeSettings(const LauncherSettings& settings);

// Whether the open file holds settings: it is exactly 2000 bytes long.
bool HoldsSettings(File& file);
// One record as stored, blanks and all, read on its own: each reader reads
// the records it needs, in order, and trims them as it needs.
std::wstring ReadRecord(File& file, Record record);
// Writes the four records in order over the file's first 2000 bytes.
void WriteSettings(File& file, const LauncherSettings& settings);
