// The kinds of drive the drive list asks the platform for.
#include "platform/volumes_win32.h"

#include <windows.h>
#include <gtest/gtest.h>

namespace velmora {
namespace {

using platform::DriveType;

TEST(VolumesWin32, DriveTypesAreThePlatformsAndTheErrorModeIsPutBack) {
  platform::Win32Volumes volumes;
  const UINT previous = ::SetErrorMode(0);
  for (const char* root : {"C:\\", "Q:\\", "Z:\\"}) {
    EXPECT_EQ(static_cast<UINT>(volumes.Type(root)), ::GetDriveTypeA(root)) << root;
  }
  EXPECT_EQ(volumes.Type("C:\\"), DriveType::kFixed);
  EXPECT_EQ(volumes.Type("Q:\\"), DriveType::kNoRootDirectory);
  EXPECT_EQ(::SetErrorMode(previous), 0u);
}

}  // namespace
}  // namespace velmora
