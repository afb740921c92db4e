#include "program_folder.h"

namespace {

bool StartsWith(std::wstring_view text, std::wstring_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

std::wstring PlainForm(std::wstring_view path) {
  if (StartsWith(path, L"\\\\?\\UNC\\")) return L"\\\\" + std::wstring(path.substr(8));
  if (StartsWith(path, L"\\\\?\\")) return std::wstring(path.substr(4));
  if (StartsWith(path, L"UNC\\")) return L"\\\\" + std::wstring(path.substr(4));
  return std::wstring(path);
}

}  // namespace

std::wstring FolderOfModule(std::wstring_view module_path) {
  std::wstring path = PlainForm(module_path);
  size_t last = path.find_last_of(L"\\/");
  if (last == std::wstring::npos) return path;
  bool drive_root = last == 2 && path[1] == L':';
  return path.substr(0, drive_root ? last + 1 : last);
}

std::wstring WithTrailingBackslash(std::wstring folder) {
  if (folder.empty() || folder.back() != L'\\') folder += L'\\';
  return folder;
}

std::wstring ArgumentsOf(std::wstring_view command_line) {
  size_t i = 0;
  if (!command_line.empty() && command_line[0] == L'"') {
    size_t close = command_line.find(L'"', 1);
    i = close == std::wstring_view::npos ? command_line.size() : close + 1;
  } else {
    while (i < command_line.size() && command_line[i] != L' ' && command_line[i] != L'\t') ++i;
  }
  while (i < command_line.size() && (command_line[i] == L' ' || command_line[i] == L'\t')) ++i;
  return std::wstring(command_line.substr(i));
}
