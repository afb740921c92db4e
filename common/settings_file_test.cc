#include "settings_file.h"

#include <gtest/gtest.h>

#include "fake_platform.h"
#include "settings_bytes.h"

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

class SettingsFile : public testing::Test {
 protected:
  std::unique_ptr<File> Stored(const std::string& bytes) {
    platform_.files[L"C:\\Internet.cfg"] = bytes;
    return platform_.Open(L"C:\\Internet.cfg", OpenMode::kRead);
  }
  FakePlatform platform_;
};

}  // namespace

// The text without its trailing blanks, padded with blanks or cut at 500
// characters; each cut falls on a character that is not a blank, so that a
// record one character short would show.
TEST(SettingsRecord, IsTheTextPaddedOrCutToFiveHundredAnsiBytes) {
  struct Case {
    std::wstring text;
    std::string bytes;
  };
  const Case cases[] = {
      {L"Hello  ", RecordBytes("Hello")},
      {L"  two\r\nlines\r\n  ", RecordBytes("  two\r\nlines\r\n")},
      {L"", RecordBytes("")},
      {Repeat(L"Caf\u00e9s", 124), Repeat("Caf\xe9s", 100)},
      {Repeat(L"x", 498) + L" yz  ", Repeat("x", 498) + " y"},
      {L"\u20ac \u201cA\u201d", RecordBytes("\x80 \x93" "A\x94")},
  };
  for (const Case& c : cases) EXPECT_EQ(EncodeRecord(c.text), c.bytes) << c.text.size();
}

TEST_F(SettingsFile, EncodesFourRecordsInOrder) {
  std::string bytes = EncodeSettings({L"message", L"prompt", L" page ", L"\\\\srv\\share\\"});
  ASSERT_EQ(bytes.size(), 2000u);
  EXPECT_EQ(bytes, SettingsBytes("message", "prompt", " page", "\\\\srv\\share\\"));
}

TEST_F(SettingsFile, ReadsEachRecordWithItsBlanks) {
  auto file = Stored(SettingsBytes("  message", "prompt\r\n", " page", "*Not Available*"));
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
  EXPECT_EQ(platform_.files[L"C:\\new.cfg"],
            SettingsBytes("R\xe8gles de l'\xe9" "cole", "Oui", "http://example.org/", ""));
  auto file = platform_.Open(L"C:\\new.cfg", OpenMode::kRead);
  EXPECT_EQ(ReadRecord(*file, Record::kMessage).substr(0, 17), L"R\u00e8gles de l'\u00e9cole");
}
