#include "drives/DriveDiscovery.h"

#include <cstdio>
#include <cstring>
#include <memory>

BYTE FixedDriveSnapshot[DriveLetterListLength] = {};

namespace {

constexpr DWORD IoctlStorageQueryProperty = 0x2D1400;

class RealDrivePlatform final : public DrivePlatform {
public:
    DWORD LogicalDrives() const override { return GetLogicalDrives(); }
    UINT DriveType(const char* root) const override { return GetDriveTypeA(root); }
    bool PlatformId(DWORD* id) const override
    {
        OSVERSIONINFOA info;
        std::memset(&info, 0, sizeof info);
        info.dwOSVersionInfoSize = sizeof info; // 148 bytes
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
        if (!GetVersionExA(&info))
            return false;
#pragma GCC diagnostic pop
        *id = info.dwPlatformId;
        return true;
    }
    HANDLE OpenVolume(const char* name) const override
    {
        return CreateFileA(name, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                           nullptr);
    }
    bool QueryStorage(HANDLE volume, BYTE* descriptor) const override
    {
        return QueryStorageDescriptor(volume, descriptor);
    }
    void CloseVolume(HANDLE volume) const override { CloseHandle(volume); }
};

bool InFixedDriveSnapshot(BYTE letter)
{
    for (BYTE entry : FixedDriveSnapshot) {
        if (entry == 0)
            return false;
        if (entry == letter)
            return true;
    }
    return false;
}

bool IsOnUsbBus(BYTE letter, const DrivePlatform& platform)
{
    char name[8];
    std::snprintf(name, sizeof name, "\\\\?\\%c:", letter);
    HANDLE volume = platform.OpenVolume(name);
    if (volume == INVALID_HANDLE_VALUE)
        return false;
    std::unique_ptr<BYTE[]> descriptor(new BYTE[StorageDescriptorLength]());
    const DWORD size = StorageDescriptorLength;
    std::memcpy(descriptor.get() + StorageDescriptorSizeOffset, &size, sizeof size);
    bool usb = false;
    if (platform.QueryStorage(volume, descriptor.get())) {
        DWORD busType;
        std::memcpy(&busType, descriptor.get() + StorageDescriptorBusTypeOffset, sizeof busType);
        usb = busType == StorageBusUsb;
    }
    platform.CloseVolume(volume);
    return usb;
}

// Calls `visit(letter, type)` for each existing drive from A upward, stopping
// after the highest existing one, until `visit` returns false.
template <class Visit>
void WalkDrives(const DrivePlatform& platform, Visit visit)
{
    DWORD mask = platform.LogicalDrives();
    for (BYTE letter = 'A'; mask != 0 && letter <= 'Z'; ++letter, mask >>= 1) {
        if ((mask & 1) == 0)
            continue;
        char root[4];
        std::snprintf(root, sizeof root, "%c:", letter);
        if (!visit(letter, platform.DriveType(root)))
            return;
    }
}

} // namespace

const DrivePlatform& Win32DrivePlatform()
{
    static const RealDrivePlatform platform;
    return platform;
}

size_t GetUsbDriveLetters(DriveLetterList letters)
{
    return GetUsbDriveLetters(letters, Win32DrivePlatform());
}

size_t GetUsbDriveLetters(DriveLetterList letters, const DrivePlatform& platform)
{
    size_t count = 0;
    WalkDrives(platform, [&](BYTE letter, UINT type) {
        bool listed = false;
        if (type == DRIVE_REMOVABLE)
            listed = letter != 'A';
        else if (type == DRIVE_FIXED)
            listed = GetOsFamily(platform) == OsFamily9x ? !InFixedDriveSnapshot(letter) : IsOnUsbBus(letter, platform);
        if (listed)
            letters[count++] = letter;
        // The list has room for DriveLetterListLength letters; further drives are not reported.
        return count < DriveLetterListLength;
    });
    return count;
}

void SnapshotFixedDrives()
{
    SnapshotFixedDrives(Win32DrivePlatform());
}

void SnapshotFixedDrives(const DrivePlatform& platform)
{
    std::memset(FixedDriveSnapshot, 0, sizeof FixedDriveSnapshot);
    size_t count = 0;
    WalkDrives(platform, [&](BYTE letter, UINT type) {
        if (type == DRIVE_FIXED)
            FixedDriveSnapshot[count++] = letter;
        return count < DriveLetterListLength;
    });
}

DWORD GetOsFamily()
{
    return GetOsFamily(Win32DrivePlatform());
}

DWORD GetOsFamily(const DrivePlatform& platform)
{
    DWORD id;
    if (!platform.PlatformId(&id))
        return OsFamilyUnknown;
    if (id == VER_PLATFORM_WIN32_NT)
        return OsFamilyNt;
    if (id == VER_PLATFORM_WIN32_WINDOWS)
        return OsFamily9x;
    return id;
}

bool QueryStorageDescriptor(HANDLE volume, BYTE* descriptor)
{
    // Property id 0 (device property), query type 0 (standard query), 4 bytes
    // of additional parameters left unset.
    BYTE query[12] = {};
    DWORD returned = 0;
    return DeviceIoControl(volume, IoctlStorageQueryProperty, query, sizeof query, descriptor,
                           StorageDescriptorLength, &returned, nullptr) != FALSE;
}
