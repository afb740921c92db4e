#include "setup/network_drive.h"

#include <gtest/gtest.h>

#include <cstring>

#include "common/error.h"

namespace {

// Like WNetGetConnectionA with G: connected to `share`; remembers the buffer
// it was handed.
ConnectionLookup SharedG(std::string share, std::string& buffer_given) {
  return [share, &buffer_given](const char* local, char* remote, uint32_t* length) -> int32_t {
    buffer_given.assign(remote, *length);
    if (std::string(local) != "G:") return 2250;  // not connected
    if (share.size() + 1 > *length) return 234;   // more data
    std::memcpy(remote, share.c_str(), share.size() + 1);
    return 0;
  };
}

}  // namespace

TEST(ResolveNetworkDrive, ConnectedDriveGivesItsShareThroughA255ByteBlankBuffer) {
  std::string buffer;
  std::wstring remote;
  EXPECT_EQ(ResolveNetworkDrive(L"G:", remote, SharedG("\\\\server\\share", buffer)), 0);
  EXPECT_EQ(remote, L"\\\\server\\share");
  EXPECT_EQ(buffer, std::string(255, ' '));

  std::string longest = "\\\\server\\" + std::string(245, 's');
  EXPECT_EQ(ResolveNetworkDrive(L"G:", remote, SharedG(longest, buffer)), 0);
  EXPECT_EQ(remote.size(), 254u);
  EXPECT_EQ(ResolveNetworkDrive(L"G:", remote, SharedG(longest + "s", buffer)), 234);
  EXPECT_EQ(remote, L"G:\\");
}

TEST(ResolveNetworkDrive, OtherDrivesGiveTheLookupsCodeAndTheDriveWithABackslash) {
  std::string buffer;
  std::wstring remote;
  EXPECT_EQ(ResolveNetworkDrive(L"C:", remote, SharedG("\\\\server\\share", buffer)), 2250);
  EXPECT_EQ(remote, L"C:\\");
}

TEST(ResolveNetworkDrive, FailureOfTheLookupGives50AndTheDriveItself) {
  std::wstring remote;
  auto unavailable = [](const char*, char*, uint32_t*) -> int32_t { throw RunTimeError(53); };
  EXPECT_EQ(ResolveNetworkDrive(L"G:", remote, unavailable), 50);
  EXPECT_EQ(remote, L"G:");

  auto no_name = [](const char*, char*, uint32_t*) -> int32_t { return 0; };
  EXPECT_EQ(ResolveNetworkDrive(L"H:", remote, no_name), 50);
  EXPECT_EQ(remote, L"H:");
}
