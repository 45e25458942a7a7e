// Which drive letters belong to USB storage right now.
#pragma once

#include <windows.h>

#include <cstddef>

// Room of a drive letter list: the caller zero-fills it, the call writes at
// most this many upper-case letters in ascending order and returns the count.
constexpr size_t DriveLetterListLength = 20;
using DriveLetterList = BYTE[DriveLetterListLength];

// Size of the storage descriptor buffer and where its fields lie.
constexpr DWORD StorageDescriptorLength = 551;
constexpr size_t StorageDescriptorSizeOffset = 4;
constexpr size_t StorageDescriptorBusTypeOffset = 28;
constexpr DWORD StorageBusUsb = 7;

enum OsFamily { OsFamilyUnknown = 0, OsFamilyNt = 1, OsFamily9x = 2 };

// The platform as drive discovery sees it. The real one calls Win32; tests
// give one that reports what no test machine has.
class DrivePlatform {
public:
    virtual ~DrivePlatform() = default;
    virtual DWORD LogicalDrives() const = 0;
    // Type of the root named by the letter and a colon ("E:").
    virtual UINT DriveType(const char* root) const = 0;
    // GetVersionExA's platform identifier; false when the query fails.
    virtual bool PlatformId(DWORD* id) const = 0;
    // Opens "\\?\E:" for reading; INVALID_HANDLE_VALUE on failure.
    virtual HANDLE OpenVolume(const char* name) const = 0;
    // The storage-property query on an open volume (see QueryStorageDescriptor).
    virtual bool QueryStorage(HANDLE volume, BYTE* descriptor) const = 0;
    virtual void CloseVolume(HANDLE volume) const = 0;
};

const DrivePlatform& Win32DrivePlatform();

// Letters of the fixed drives present at start-up (zero bytes after the last).
extern BYTE FixedDriveSnapshot[DriveLetterListLength];

// Fills `letters` (zero-filled by the caller) and returns the count written.
size_t GetUsbDriveLetters(DriveLetterList letters);
size_t GetUsbDriveLetters(DriveLetterList letters, const DrivePlatform& platform);

// Records the fixed drives in FixedDriveSnapshot. Called once, at start-up.
void SnapshotFixedDrives();
void SnapshotFixedDrives(const DrivePlatform& platform);

// OsFamilyNt, OsFamily9x, 0 when the version query fails, or the platform
// identifier itself for any other platform.
DWORD GetOsFamily();
DWORD GetOsFamily(const DrivePlatform& platform);

// Sends IOCTL_STORAGE_QUERY_PROPERTY (device property, standard query) to an
// open volume; `descriptor` holds StorageDescriptorLength bytes with its size
// field set. True when the platform reports success.
bool QueryStorageDescriptor(HANDLE volume, BYTE* descriptor);
