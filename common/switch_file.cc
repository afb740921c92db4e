#include "switch_file.h"

#include "ansi.h"
#include "blanks.h"
#include "error.h"

void WriteSwitch(Platform& platform, const std::wstring& path, AccessSwitch state) {
  auto file = platform.Open(path, OpenMode::kOutput);
  file->WriteAt(0, state == AccessSwitch::kStopped ? "N\r\n" : "Y\r\n");
}

AccessSwitch ReadSwitchFirstByte(File& file) {
  if (file.Length() == 0) return AccessSwitch::kRunning;
  return file.ReadAt(0, 1) == "N" ? AccessSwitch::kStopped : AccessSwitch::kRunning;
}

std::string ReadFirstLine(File& file) {
  constexpr size_t kChunk = 512;
  std::string line;
  for (int64_t offset = 0;; offset += kChunk) {
    std::string chunk = file.ReadAt(offset, kChunk);
    if (chunk.empty()) {
      if (offset == 0) throw RunTimeError(errors::kInputPastEnd);
      return line;
    }
    size_t cr = chunk.find('\r');
    if (cr != std::string::npos) return line.append(chunk, 0, cr);
    line += chunk;
  }
}

AccessSwitch ReadSwitchFirstLine(Platform& platform, const std::wstring& path) {
  std::wstring line = FromAnsi(ReadFirstLine(*platform.Open(path, OpenMode::kRead)));
  return TrimBlanks(line) == L"N" ? AccessSwitch::kStopped : AccessSwitch::kRunning;
}
