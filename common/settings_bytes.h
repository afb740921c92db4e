// For tests: the bytes of a settings file written out by hand, so that no
// expectation comes from the encoder it is meant to check. Each record is its
// bytes as given (at most 500), padded with blanks to 500.
#pragma once

#include <string>
#include <string_view>

inline std::string RecordBytes(std::string_view bytes) {
  return std::string(bytes) + std::string(500 - bytes.size(), ' ');
}

inline std::string SettingsBytes(std::string_view message, std::string_view prompt,
                                 std::string_view start_page, std::string_view server_path) {
  return RecordBytes(message) + RecordBytes(prompt) + RecordBytes(start_page) +
         RecordBytes(server_path);
}
