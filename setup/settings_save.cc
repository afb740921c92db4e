#include "setup/settings_save.h"

#include <memory>

#include "common/error.h"

namespace {

void OverwriteInPlace(Platform& platform, const std::wstring& path, std::string_view bytes) {
  platform.Open(path, OpenMode::kReadWrite)->WriteAt(0, bytes);
}

// The share or its connection is failing: a write in place could stop half
// way and leave the file part new, part old.
bool ShareFailing(int32_t number) {
  return number == errors::kDeviceUnavailable || number == errors::kDeviceIo;
}

// Best effort: a temporary file left behind does no harm, and the error that
// matters is the one already on its way.
void RemoveQuietly(Platform& platform, const std::wstring& path) {
  try {
    platform.Delete(path);
  } catch (const RunTimeError&) {
  }
}

// False when the folder takes no new file.
bool WriteTemporary(Platform& platform, const std::wstring& path, std::string_view bytes) {
  std::unique_ptr<File> file;
  try {
    file = platform.Open(path, OpenMode::kOutput);
  } catch (const RunTimeError& e) {
    if (ShareFailing(e.number())) throw;
    return false;
  }
  try {
    file->WriteAt(0, bytes);
  } catch (const RunTimeError&) {
    file.reset();
    RemoveQuietly(platform, path);
    throw;
  }
  return true;
}

}  // namespace

void SaveFileSafely(Platform& platform, const std::wstring& path, std::string_view bytes) {
  const std::wstring temporary = path + L".new";
  if (!WriteTemporary(platform, temporary, bytes)) {
    OverwriteInPlace(platform, path, bytes);
    return;
  }
  try {
    platform.Replace(path, temporary);
  } catch (const RunTimeError& e) {
    if (ShareFailing(e.number())) {
      RemoveQuietly(platform, temporary);
      throw;
    }
    // The file may still be writable where it is; when it is missing, this
    // creates it.
    OverwriteInPlace(platform, path, bytes);
    RemoveQuietly(platform, temporary);
  }
}
