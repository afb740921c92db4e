#include "blanks.h"

#include <cwctype>

std::wstring RightTrimBlanks(std::wstring_view text) {
  size_t end = text.find_last_not_of(L' ');
  return std::wstring(end == std::wstring_view::npos ? std::wstring_view() : text.substr(0, end + 1));
}

std::wstring TrimBlanks(std::wstring_view text) {
  size_t begin = text.find_first_not_of(L' ');
  if (begin == std::wstring_view::npos) return std::wstring();
  return RightTrimBlanks(text.substr(begin));
}

std::wstring ToUpper(std::wstring_view text) {
  std::wstring upper(text);
  for (wchar_t& c : upper) c = static_cast<wchar_t>(std::towupper(static_cast<wint_t>(c)));
  return upper;
}
