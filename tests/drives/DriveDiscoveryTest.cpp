#include "drives/DriveDiscovery.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace {

// A machine described by a table: drive types, storage buses, OS family.
struct FakeDrive {
    UINT type;
    DWORD bus = 0;          // reported by the storage query
    bool opens = true;      // the volume can be opened
    bool queryWorks = true; // the storage query succeeds
};

class FakePlatform : public DrivePlatform {
public:
    std::map<char, FakeDrive> drives;
    bool versionWorks = true;
    DWORD platformId = VER_PLATFORM_WIN32_NT;

    mutable std::vector<std::string> typeQueries;
    mutable std::vector<std::string> opened;
    mutable int openHandles = 0;
    mutable std::vector<DWORD> sizeFieldsSeen;

    DWORD LogicalDrives() const override
    {
        DWORD mask = 0;
        for (const auto& d : drives)
            mask |= 1u << (d.first - 'A');
        return mask;
    }
    UINT DriveType(const char* root) const override
    {
        typeQueries.push_back(root);
        auto it = drives.find(root[0]);
        return std::strlen(root) == 2 && root[1] == ':' && it != drives.end() ? it->second.type : DRIVE_NO_ROOT_DIR;
    }
    bool PlatformId(DWORD* id) const override
    {
        if (!versionWorks)
            return false;
        *id = platformId;
        return true;
    }
    HANDLE OpenVolume(const char* name) const override
    {
        opened.push_back(name);
        if (std::strncmp(name, "\\\\?\\", 4) != 0 || std::strlen(name) != 6 || name[5] != ':')
            return INVALID_HANDLE_VALUE;
        auto it = drives.find(name[4]);
        if (it == drives.end() || !it->second.opens)
            return INVALID_HANDLE_VALUE;
        ++openHandles;
        return reinterpret_cast<HANDLE>(static_cast<INT_PTR>(0x100 + name[4]));
    }
    bool QueryStorage(HANDLE volume, BYTE* descriptor) const override
    {
        const char letter = static_cast<char>(reinterpret_cast<INT_PTR>(volume) - 0x100);
        DWORD size;
        std::memcpy(&size, descriptor + StorageDescriptorSizeOffset, sizeof size);
        sizeFieldsSeen.push_back(size);
        const FakeDrive& d = drives.at(letter);
        if (!d.queryWorks)
            return false;
        std::memcpy(descriptor + StorageDescriptorBusTypeOffset, &d.bus, sizeof d.bus);
        return true;
    }
    void CloseVolume(HANDLE) const override { --openHandles; }
};

std::string Letters(const FakePlatform& platform, size_t* countOut = nullptr)
{
    DriveLetterList list = {};
    const size_t count = GetUsbDriveLetters(list, platform);
    if (countOut != nullptr)
        *countOut = count;
    // Nothing is written past the count.
    for (size_t i = count; i < DriveLetterListLength; ++i)
        EXPECT_EQ(0, list[i]) << "byte " << i;
    return std::string(reinterpret_cast<const char*>(list), count);
}

constexpr DWORD BusSata = 11;

struct DiscoveryCase {
    const char* name;
    std::map<char, FakeDrive> drives;
    DWORD platformId;
    const char* fixedAtStartup;
    const char* expected;
};

TEST(GetUsbDriveLetters, RulesByTypeAndFamily)
{
    const DWORD nt = VER_PLATFORM_WIN32_NT;
    const DWORD w9x = VER_PLATFORM_WIN32_WINDOWS;
    const DiscoveryCase cases[] = {
        {"removable A is never listed, B is", {{'A', {DRIVE_REMOVABLE}}, {'B', {DRIVE_REMOVABLE}}}, nt, "", "B"},
        {"NT fixed on USB bus only",
         {{'C', {DRIVE_FIXED, BusSata}}, {'E', {DRIVE_FIXED, StorageBusUsb}}}, nt, "C", "E"},
        {"NT unopenable or failed query is skipped",
         {{'E', {DRIVE_FIXED, StorageBusUsb, false}}, {'F', {DRIVE_FIXED, StorageBusUsb, true, false}}}, nt, "", ""},
        {"9x fixed at start-up never, later always",
         {{'C', {DRIVE_FIXED}}, {'D', {DRIVE_FIXED, StorageBusUsb}}, {'G', {DRIVE_FIXED, BusSata}}}, w9x, "CD", "G"},
        {"9x with empty snapshot lists every fixed drive", {{'C', {DRIVE_FIXED}}, {'D', {DRIVE_FIXED}}}, w9x, "", "CD"},
        {"other types never, NT",
         {{'D', {DRIVE_CDROM}}, {'N', {DRIVE_REMOTE}}, {'R', {DRIVE_RAMDISK}}, {'U', {DRIVE_UNKNOWN}},
          {'X', {DRIVE_NO_ROOT_DIR}}}, nt, "", ""},
        {"other types never, 9x", {{'D', {DRIVE_CDROM}}, {'N', {DRIVE_REMOTE}}, {'R', {DRIVE_RAMDISK}}}, w9x, "", ""},
        {"ascending order", {{'H', {DRIVE_REMOVABLE}}, {'F', {DRIVE_REMOVABLE}}, {'C', {DRIVE_FIXED, BusSata}}}, nt, "C",
         "FH"},
        {"other platform ids take the bus test", {{'E', {DRIVE_FIXED, StorageBusUsb}}}, 0, "E", "E"},
    };
    for (const DiscoveryCase& c : cases) {
        FakePlatform platform;
        platform.drives = c.drives;
        platform.platformId = c.platformId;
        std::memset(FixedDriveSnapshot, 0, sizeof FixedDriveSnapshot);
        std::memcpy(FixedDriveSnapshot, c.fixedAtStartup, std::strlen(c.fixedAtStartup));
        EXPECT_EQ(c.expected, Letters(platform)) << c.name;
        EXPECT_EQ(0, platform.openHandles) << c.name << ": every opened volume is closed";
        for (DWORD size : platform.sizeFieldsSeen)
            EXPECT_EQ(StorageDescriptorLength, size) << c.name;
    }
    std::memset(FixedDriveSnapshot, 0, sizeof FixedDriveSnapshot);
}

TEST(GetUsbDriveLetters, FailedVersionQueryTakesTheBusTest)
{
    FakePlatform platform;
    platform.versionWorks = false;
    platform.drives = {{'C', {DRIVE_FIXED, BusSata}}, {'E', {DRIVE_FIXED, StorageBusUsb}}};
    EXPECT_EQ("E", Letters(platform));
    const std::vector<std::string> opened = {"\\\\?\\C:", "\\\\?\\E:"};
    EXPECT_EQ(opened, platform.opened);
}

TEST(GetUsbDriveLetters, NoDrivesLeavesTheListUntouched)
{
    FakePlatform platform;
    DriveLetterList list = {};
    EXPECT_EQ(0u, GetUsbDriveLetters(list, platform));
    for (BYTE b : list)
        EXPECT_EQ(0, b);
    EXPECT_TRUE(platform.typeQueries.empty());
}

TEST(GetUsbDriveLetters, LooksAtExistingDrivesOnlyByRootName)
{
    FakePlatform platform;
    platform.drives = {{'C', {DRIVE_FIXED, BusSata}}, {'F', {DRIVE_REMOVABLE}}};
    Letters(platform);
    const std::vector<std::string> roots = {"C:", "F:"};
    EXPECT_EQ(roots, platform.typeQueries);
}

TEST(GetUsbDriveLetters, StopsWhenTheListIsFull)
{
    FakePlatform platform;
    for (char letter = 'B'; letter <= 'Z'; ++letter)
        platform.drives[letter] = {DRIVE_REMOVABLE};
    struct {
        DriveLetterList list;
        BYTE guard[8];
    } buffer;
    std::memset(&buffer, 0, sizeof buffer);
    std::memset(buffer.guard, 0xCC, sizeof buffer.guard);
    const size_t count = GetUsbDriveLetters(buffer.list, platform);
    EXPECT_EQ(DriveLetterListLength, count);
    EXPECT_EQ("BCDEFGHIJKLMNOPQRSTU", std::string(reinterpret_cast<const char*>(buffer.list), count));
    for (BYTE b : buffer.guard)
        EXPECT_EQ(0xCC, b);
}

TEST(SnapshotFixedDrives, RecordsFixedDrivesInOrder)
{
    FakePlatform platform;
    platform.drives = {{'C', {DRIVE_FIXED}}, {'D', {DRIVE_CDROM}}, {'E', {DRIVE_REMOVABLE}}, {'G', {DRIVE_FIXED}}};
    SnapshotFixedDrives(platform);
    EXPECT_EQ("CG", std::string(reinterpret_cast<const char*>(FixedDriveSnapshot)));
    std::memset(FixedDriveSnapshot, 0, sizeof FixedDriveSnapshot);
}

TEST(GetOsFamily, MapsThePlatformIdentifier)
{
    const struct {
        bool works;
        DWORD id;
        DWORD expected;
    } cases[] = {
        {true, VER_PLATFORM_WIN32_NT, OsFamilyNt}, {true, VER_PLATFORM_WIN32_WINDOWS, OsFamily9x},
        {true, VER_PLATFORM_WIN32s, 0},            {true, 3, 3},
        {false, VER_PLATFORM_WIN32_NT, 0},
    };
    for (const auto& c : cases) {
        FakePlatform platform;
        platform.versionWorks = c.works;
        platform.platformId = c.id;
        EXPECT_EQ(c.expected, GetOsFamily(platform)) << c.works << " " << c.id;
    }
}

} // namespace
