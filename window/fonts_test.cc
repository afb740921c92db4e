#include "fonts.h"

#include <gtest/gtest.h>

#include <string>

#include "agreement/agreement_controls.h"
#include "form.h"

namespace {

std::wstring Face(const Font& font, int dpi) { return FaceAtDpi(font.face, dpi); }

TEST(FaceAtDpi, TheBitmapSansSerifOnlyAtNinetySixDpi) {
  for (const Font& font : {kSansSerif, kSansSerifBold}) {
    EXPECT_EQ(Face(font, 96), L"MS Sans Serif");
    for (int dpi : {97, 120, 144, 192, 288}) {
      EXPECT_EQ(Face(font, dpi), L"Microsoft Sans Serif") << dpi;
    }
  }
}

TEST(FaceAtDpi, TrueTypeFacesAreKept) {
  for (int dpi : {96, 144, 192}) {
    EXPECT_EQ(Face(agreement::kMessageFont, dpi), L"Arial");
    EXPECT_EQ(Face({L"Microsoft Sans Serif", 8.25, 400}, dpi), L"Microsoft Sans Serif");
    // Only the exact name is the bitmap font.
    EXPECT_EQ(Face({L"MS Sans Serif Bold", 8.25, 400}, dpi), L"MS Sans Serif Bold");
  }
}

}  // namespace
