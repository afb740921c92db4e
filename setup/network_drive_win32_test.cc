#include "setup/network_drive_win32.h"

#include <gtest/gtest.h>

#include "setup/network_drive.h"

TEST(GetConnectionFromMpr, LocalDiskIsNoNetworkConnection) {
  std::wstring remote;
  EXPECT_NE(ResolveNetworkDrive(L"C:", remote, GetConnectionFromMpr), 0);
  EXPECT_EQ(remote, L"C:\\");
}
