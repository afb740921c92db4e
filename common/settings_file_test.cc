#include "settings_file.h"

#include <gtest/gtest.h>

#include "fake_platform.h"

namespace {

std::string Repeat(const std::string& unit, int times) {
  std::string text;
  for (int i = 0; i < times; ++i) text += unit;
  return text;
}

std::wstring Repeat(const std::wstring& unit, int times) {
  std::wstring text;
  for (int i = 0; i < times; ++i) text += unit;
  return text;
}

std::string Padded(const std::string& bytes) { return bytes + std::string(500 - bytes.size(), ' '); }

class SettingsFile : public testing::Test {
 protected:
  std::unique_ptr<File> Stored(const std::string& bytes) {
    platform_.files[L"C:\\Internet.cfg"] = bytes;
    return platform_.Open(L"C:\\Internet.cfg", OpenMode::kRead);
  }
  FakePlatform platform_;
};

}  // namespace

TEST(SettingsRecord, KeepsLineBreaksButNotTrailingBlanks) {
  EXPECT_EQ(EncodeRecord(L"Hello  "), Padded("Hello"));
  EXPECT_EQ(EncodeRecord(L"  two\r\nlines\r\n  "), Padded("  two\r\nlines\r\n"));
  EXPECT_EQ(EncodeRecord(L""), std::string(500, ' '));
}

TEST(SettingsRecord, LongAccentedTextIsCutToFiveHundredCharactersAndBytes) {
  std::string record = EncodeRecord(Repeat(L"Caf\u00e9 ", 124));  // 620 characters
  EXPECT_EQ(record, Repeat("Caf\xe9 ", 100));
}

TEST(SettingsRecord, BlanksBeforeTheCutAreKept) {
  std::wstring text = Repeat(L"x", 499) + L"  y";
  EXPECT_EQ(EncodeRecord(text), Repeat("x", 499) + " ");
}

TEST(SettingsRecord, EuroAndQuotesUseTheAnsiCodePage) {
  EXPECT_EQ(EncodeRecord(L"\u20ac \u201cA\u201d"), Padded("\x80 \x93" "A\x94"));
}

TEST_F(SettingsFile, EncodesFourRecordsInOrder) {
  std::string bytes = EncodeSettings({L"message", L"prompt", L" page ", L"\\\\srv\\share\\"});
  ASSERT_EQ(bytes.size(), 2000u);
  EXPECT_EQ(bytes, Padded("message") + Padded("prompt") + Padded(" page") +
                       Padded("\\\\srv\\share\\"));
}

TEST_F(SettingsFile, ReadsEachRecordWithItsBlanks) {
  auto file = Stored(Padded("  message") + Padded("prompt\r\n") + Padded(" page") + Padded("*Not Available*"));
  ASSERT_TRUE(HoldsSettings(*file));
  EXPECT_EQ(ReadRecord(*file, Record::kMessage), L"  message" + std::wstring(491, L' '));
  EXPECT_EQ(ReadRecord(*file, Record::kPrompt).substr(0, 9), L"prompt\r\n ");
  EXPECT_EQ(ReadRecord(*file, Record::kStartPage), L" page" + std::wstring(495, L' '));
  EXPECT_EQ(ReadRecord(*file, Record::kServerPath).substr(0, 16), L"*Not Available* ");
}

TEST_F(SettingsFile, AnyLengthButTwoThousandBytesHoldsNoSettings) {
  for (size_t length : {0, 1, 500, 1999, 2001, 4000}) {
    auto file = Stored(std::string(length, ' '));
    EXPECT_FALSE(HoldsSettings(*file)) << length;
  }
  EXPECT_TRUE(HoldsSettings(*Stored(std::string(2000, ' '))));
}

TEST_F(SettingsFile, WrittenSettingsReadBackAndAccentsSurvive) {
  LauncherSettings written{L"R\u00e8gles de l'\u00e9cole", L"Oui", L"http://example.org/", L""};
  {
    auto file = platform_.Open(L"C:\\new.cfg", OpenMode::kReadWrite);
    WriteSettings(*file, written);
  }
  EXPECT_EQ(platform_.files[L"C:\\new.cfg"], EncodeSettings(written));
  auto file = platform_.Open(L"C:\\new.cfg", OpenMode::kRead);
  EXPECT_EQ(ReadRecord(*file, Record::kMessage).substr(0, 17), L"R\u00e8gles de l'\u00e9cole");
}
