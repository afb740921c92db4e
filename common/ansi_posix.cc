#include "ansi.h"

#include <algorithm>
#include <iterator>

namespace {

// Windows-1252 bytes 0x80 to 0x9F; the five bytes that code page leaves
// undefined map to the control characters of the same value, as on Windows.
constexpr wchar_t kHighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char ToByte(wchar_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<char>(c);
  const wchar_t* found = std::find(std::begin(kHighControls), std::end(kHighControls), c);
  if (found != std::end(kHighControls)) {
    return static_cast<char>(0x80 + (found - std::begin(kHighControls)));
  }
  return '?';
}

}  // namespace

std::string ToAnsi(std::wstring_view text) {
  std::string bytes;
  bytes.reserve(text.size());
  for (wchar_t c : text) bytes.push_back(ToByte(c));
  return bytes;
}

std::wstring FromAnsi(std::string_view bytes) {
  std::wstring text;
  text.reserve(bytes.size());
  for (char b : bytes) {
    auto u = static_cast<unsigned char>(b);
    text.push_back(u >= 0x80 && u < 0xA0 ? kHighControls[u - 0x80] : static_cast<wchar_t>(u));
  }
  return text;
}
