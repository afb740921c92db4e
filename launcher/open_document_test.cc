#include "launcher/open_document.h"

#include <gtest/gtest.h>

#include "common/error_of.h"
#include "common/fake_platform.h"

namespace {

class ShellAnswering : public Shell {
 public:
  explicit ShellAnswering(intptr_t result) : result_(result) {}
  intptr_t Execute(const std::wstring&, const std::wstring&, const std::optional<std::wstring>&,
                   const std::optional<std::wstring>&, int32_t) override {
    return result_;
  }

 private:
  intptr_t result_;
};

}  // namespace

TEST(OpenDocument, OnlyAMissingAssociationOffersOpenWith) {
  for (intptr_t result : {0, 2, 5, 8, 26, 27, 28, 29, 30, 32, 33, 42}) {
    FakePlatform platform;
    ShellAnswering shell(result);
    OpenDocument(shell, platform, L"Open", L"page.xyz", std::nullopt, std::nullopt, 1);
    EXPECT_TRUE(platform.started.empty()) << result;
  }
}

TEST(OpenDocument, OpenWithGetsTheDocumentUnquoted) {
  FakePlatform platform;
  ShellAnswering shell(kNoAssociation);
  OpenDocument(shell, platform, L"Open", L"C:\\Pupil Pages\\start page.xyz", std::nullopt,
               std::nullopt, 1);
  EXPECT_EQ(platform.started, (std::vector<std::wstring>{
                                  L"rundll32.exe shell32.dll,OpenAs_RunDLL C:\\Pupil "
                                  L"Pages\\start page.xyz"}));
}

TEST(OpenDocument, FailureToStartOpenWithIsLeftToTheCaller) {
  FakePlatform platform;
  platform.start_errors[L"rundll32.exe"] = 53;
  ShellAnswering shell(kNoAssociation);
  EXPECT_EQ(ErrorOf([&] {
              OpenDocument(shell, platform, L"Open", L"page.xyz", std::nullopt, std::nullopt, 1);
            }),
            53);
}
