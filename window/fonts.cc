#include "fonts.h"

#include <cwchar>

const wchar_t* FaceAtDpi(const wchar_t* face, int dpi) {
  if (dpi > 96 && std::wcscmp(face, L"MS Sans Serif") == 0) return L"Microsoft Sans Serif";
  return face;
}
