// Conversion between in-memory wide text and the 8-bit ANSI text of the shared
// files. Windows uses the system's ANSI code page with its best-fit rules; the
// POSIX build (for tests) uses Windows-1252 and '?' for what it cannot map.
#pragma once

#include <string>
#include <string_view>

std::string ToAnsi(std::wstring_view text);
std::wstring FromAnsi(std::string_view bytes);
