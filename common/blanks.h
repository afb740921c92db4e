// Trimming that removes blanks (U+0020) only: tabs and line breaks stay.
#pragma once

#include <string>
#include <string_view>

std::wstring TrimBlanks(std::wstring_view text);
std::wstring RightTrimBlanks(std::wstring_view text);
std::wstring ToUpper(std::wstring_view text);
