// The platform services on Windows.
#pragma once

#include "error_number_win32.h"
#include "platform.h"

class Win32Platform : public Platform {
 public:
  std::wstring ProgramFolder() override;
  std::wstring CommandLineText() override;
  std::wstring EnvironmentValue(const std::wstring& name) override;
  std::unique_ptr<File> Open(const std::wstring& path, OpenMode mode) override;
  void Delete(const std::wstring& path) override;
  void Copy(const std::wstring& source, const std::wstring& destination) override;
  void Replace(const std::wstring& replaced, const std::wstring& replacement) override;
  void RemoveDownloadMark(const std::wstring& path) override;
  bool FolderExists(const std::wstring& path) override;
  void Start(const std::wstring& command_line, int window_style) override;
  void ShowMessage(const std::wstring& text, const std::wstring& title,
                   MessageIcon icon) override;
  bool Watched() override;
  void RecordEvent(EventType type, uint16_t id, const std::vector<std::wstring>& strings) override;
  std::wstring ProgramFileName() override;
  bool RunsAsLocalSystem() override;
 protected:
  void EndProcess(int32_t exit_code) override;
};
