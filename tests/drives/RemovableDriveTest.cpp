// Runs inside a prefix where drive R: was made removable at run time (see
// removable-drive-test); the real platform must report it and not C:.
#include "drives/DriveDiscovery.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(RealPlatform, ListsTheRemovableDriveAndNotTheFixedOne)
{
    ASSERT_TRUE(WaitForDriveType("R:", DRIVE_REMOVABLE)) << "the test drive R: was not set up: type "
                                                          << GetDriveTypeA("R:");
    ASSERT_EQ(static_cast<UINT>(DRIVE_FIXED), GetDriveTypeA("C:"));
    DriveLetterList list = {};
    const size_t count = GetUsbDriveLetters(list);
    const std::string letters(reinterpret_cast<const char*>(list), count);
    EXPECT_NE(std::string::npos, letters.find('R')) << letters;
    EXPECT_EQ(std::string::npos, letters.find('C')) << letters;
}

TEST(RealPlatform, SnapshotHoldsFixedDrivesOnly)
{
    ASSERT_TRUE(WaitForDriveType("R:", DRIVE_REMOVABLE));
    SnapshotFixedDrives();
    const std::string fixed(reinterpret_cast<const char*>(FixedDriveSnapshot),
                            strnlen(reinterpret_cast<const char*>(FixedDriveSnapshot), DriveLetterListLength));
    EXPECT_NE(std::string::npos, fixed.find('C')) << fixed;
    EXPECT_EQ(std::string::npos, fixed.find('R')) << fixed;
}

TEST(RealPlatform, IsTheNtFamily)
{
    EXPECT_EQ(static_cast<DWORD>(OsFamilyNt), GetOsFamily());
}

} // namespace
