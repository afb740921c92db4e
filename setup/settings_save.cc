#include "setup/settings_save.h"

#include <memory>
#include <utility>

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

// The temporary file beside the one being saved. Whatever way Save leaves,
// it takes its temporary file with it: only the file saved may change.
class TemporaryFile {
 public:
  TemporaryFile(Platform& platform, std::wstring path)
      : platform_(platform), path_(std::move(path)) {}
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;
  // Best effort: the error that matters is the one already on its way.
  ~TemporaryFile() {
    if (!present_) return;
    try {
      platform_.Delete(path_);
    } catch (const RunTimeError&) {
    }
  }

  const std::wstring& path() const { return path_; }
  // False when the folder takes no new file.
  bool Write(std::string_view bytes) {
    std::unique_ptr<File> file;
    try {
      file = platform_.Open(path_, OpenMode::kOutput);
    } catch (const RunTimeError& e) {
      if (ShareFailing(e.number())) throw;
      return false;
    }
    present_ = true;
    file->WriteAt(0, bytes);
    return true;
  }
  // It has become the saved file.
  void Replaced() { present_ = false; }

 private:
  Platform& platform_;
  std::wstring path_;
  bool present_ = false;
};

}  // namespace

void SaveFileSafely(Platform& platform, const std::wstring& path, std::string_view bytes) {
  TemporaryFile temporary(platform, path + L".new");
  if (!temporary.Write(bytes)) {
    OverwriteInPlace(platform, path, bytes);
    return;
  }
  try {
    platform.Replace(path, temporary.path());
    temporary.Replaced();
  } catch (const RunTimeError& e) {
    if (ShareFailing(e.number())) throw;
    // The file may still be writable where it is; where it is missing (none
    // was saved before, or the swap took it away), this creates it.
    OverwriteInPlace(platform, path, bytes);
  }
}
