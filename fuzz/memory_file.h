// A read-only file held in memory, for the fuzz targets.
#pragma once

#include <cstdint>
#include <string>

#include "common/error.h"
#include "common/platform.h"

class MemoryFile : public File {
 public:
  MemoryFile(const uint8_t* data, size_t size)
      : bytes_(reinterpret_cast<const char*>(data), size) {}
  int64_t Length() override { return static_cast<int64_t>(bytes_.size()); }
  std::string ReadAt(int64_t offset, size_t count) override {
    auto at = static_cast<size_t>(offset);
    return at >= bytes_.size() ? std::string() : bytes_.substr(at, count);
  }
  void WriteAt(int64_t, std::string_view) override { throw RunTimeError(errors::kPathFileAccess); }

 private:
  std::string bytes_;
};
