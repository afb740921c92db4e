#include "fake_platform.h"

#include <algorithm>

#include "error.h"

namespace {

void FailIfListed(const std::map<std::wstring, int32_t>& failures, const std::wstring& path) {
  auto found = failures.find(path);
  if (found != failures.end()) throw RunTimeError(found->second);
}

class FakeFile : public File {
 public:
  FakeFile(FakePlatform& platform, std::wstring path)
      : platform_(platform), path_(std::move(path)) {
    ++platform_.open_files;
  }
  ~FakeFile() override {
    --platform_.open_files;
    platform_.log.push_back(L"close " + path_);
  }
  FakeFile(const FakeFile&) = delete;
  FakeFile& operator=(const FakeFile&) = delete;

  int64_t Length() override {
    FailIfListed(platform_.read_errors, path_);
    return static_cast<int64_t>(Bytes().size());
  }

  std::string ReadAt(int64_t offset, size_t count) override {
    FailIfListed(platform_.read_errors, path_);
    auto failing = platform_.read_errors_from.find(path_);
    if (failing != platform_.read_errors_from.end() && offset >= failing->second.first) {
      throw RunTimeError(failing->second.second);
    }
    const std::string& bytes = Bytes();
    auto at = static_cast<size_t>(offset);
    return at >= bytes.size() ? std::string() : bytes.substr(at, count);
  }

  void WriteAt(int64_t offset, std::string_view data) override {
    FailIfListed(platform_.write_errors, path_);
    auto failing = platform_.write_errors_from.find(path_);
    if (failing != platform_.write_errors_from.end()) {
      auto [from, number] = failing->second;
      if (offset + static_cast<int64_t>(data.size()) > from) {
        Store(offset, data.substr(0, static_cast<size_t>(std::max<int64_t>(from - offset, 0))));
        throw RunTimeError(number);
      }
    }
    Store(offset, data);
  }

 private:
  std::string& Bytes() { return platform_.files[path_]; }
  void Store(int64_t offset, std::string_view data) {
    std::string& bytes = Bytes();
    auto at = static_cast<size_t>(offset);
    if (bytes.size() < at + data.size()) bytes.resize(at + data.size(), '\0');
    bytes.replace(at, data.size(), data);
  }

  FakePlatform& platform_;
  std::wstring path_;
};

}  // namespace

std::wstring FakePlatform::EnvironmentValue(const std::wstring& name) {
  auto found = environment.find(name);
  return found == environment.end() ? std::wstring() : found->second;
}

std::unique_ptr<File> FakePlatform::Open(const std::wstring& path, OpenMode mode) {
  log.push_back(L"open " + path);
  FailIfListed(open_errors, path);
  if (mode != OpenMode::kRead) FailIfListed(open_read_write_errors, path);
  if (!files.count(path)) {
    if (mode == OpenMode::kRead) throw RunTimeError(errors::kFileNotFound);
    FailIfListed(create_errors, path);
  }
  if (mode == OpenMode::kOutput) files[path].clear();
  files.try_emplace(path);
  return std::make_unique<FakeFile>(*this, path);
}

void FakePlatform::Delete(const std::wstring& path) {
  log.push_back(L"delete " + path);
  FailIfListed(delete_errors, path);
  if (files.erase(path) == 0) throw RunTimeError(errors::kFileNotFound);
}

void FakePlatform::Copy(const std::wstring& source, const std::wstring& destination) {
  log.push_back(L"copy " + source + L" " + destination);
  FailIfListed(open_errors, source);
  FailIfListed(open_errors, destination);
  FailIfListed(write_errors, destination);
  auto found = files.find(source);
  if (found == files.end()) throw RunTimeError(errors::kFileNotFound);
  files[destination] = found->second;
  if (download_marks.count(source)) {
    download_marks.insert(destination);
  } else {
    download_marks.erase(destination);
  }
}

void FakePlatform::Replace(const std::wstring& replaced, const std::wstring& replacement) {
  log.push_back(L"replace " + replaced + L" " + replacement);
  FailIfListed(replace_errors, replaced);
  FailIfListed(write_errors, replaced);
  // As ReplaceFileW, which replaces only a file that is there.
  auto found = files.find(replacement);
  if (found == files.end() || !files.count(replaced)) throw RunTimeError(errors::kFileNotFound);
  auto failure = replace_failures.find(replaced);
  if (failure != replace_failures.end()) {
    if (failure->second == ReplaceFailure::kReplacedRenamed) {
      files[replaced + L"~RF1a2b.TMP"] = files[replaced];
    }
    if (failure->second == ReplaceFailure::kReplacedRemoved ||
        failure->second == ReplaceFailure::kReplacedRenamed) {
      files.erase(replaced);
    }
    throw RunTimeError(errors::kPathFileAccess);
  }
  files[replaced] = found->second;
  files.erase(found);
}

void FakePlatform::RemoveDownloadMark(const std::wstring& path) {
  log.push_back(L"unmark " + path);
  FailIfListed(unmark_errors, path);
  download_marks.erase(path);
}

bool FakePlatform::FolderExists(const std::wstring& path) {
  if (folders.count(path)) return true;
  const std::wstring inside = path + L"\\";
  auto after = files.lower_bound(inside);
  return after != files.end() && after->first.starts_with(inside);
}

void FakePlatform::Start(const std::wstring& line, int) {
  log.push_back(L"start " + line);
  auto program = line.substr(0, line.find(L' '));
  FailIfListed(start_errors, program);
  started.push_back(line);
}

void FakePlatform::ShowMessage(const std::wstring& text, const std::wstring& title,
                               MessageIcon icon) {
  log.push_back(L"message " + title);
  messages.push_back({text, title, icon});
}

void FakePlatform::RecordEvent(EventType type, uint16_t id,
                               const std::vector<std::wstring>& strings) {
  log.push_back(L"event " + std::to_wstring(id));
  events.push_back({type, id, strings});
}

void FakePlatform::EndProcess(int32_t code) {
  log.push_back(L"end");
  exit_code = code;
  throw ProgramEnded{};
}
