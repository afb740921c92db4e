// Folder names as the programs use them.
#pragma once

#include <string>
#include <string_view>

// The folder of a module path as the platform reports it, in plain form: the
// long-path prefixes \\?\ and \\?\UNC\ and Wine's UNC\ form are undone, and the
// folder keeps a trailing backslash only at a drive root (C:\).
std::wstring FolderOfModule(std::wstring_view module_path);

// The program folder of the programs: `folder` ending in exactly one backslash.
std::wstring WithTrailingBackslash(std::wstring folder);

// The arguments of a command line: what follows the program name (quoted or
// not) and the blanks after it.
std::wstring ArgumentsOf(std::wstring_view command_line);
