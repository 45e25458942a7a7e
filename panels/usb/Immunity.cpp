#include "panels/usb/Immunity.h"

#include "drives/DriveDiscovery.h"
#include "panels/usb/ToolsPanelRes.h"
#include "framework/MessageBox.h"
#include "framework/Strings.h"

#include <mmsystem.h>

const char RegistryAccessErrorText[] =
    "Plugwarden failed in accessing the registry.\r\n"
    "Please check if the current user has right to access the registry.";

namespace {

enum class RootEntry { None, Folder, File };

// What the root holds under the name AUTORUN.INF (in whatever letter case the
// file system matches); `path` gets the entry's full path.
RootEntry FindAutorunEntry(const std::string& root, std::string* path)
{
    char found[MAX_PATH];
    char* name = nullptr;
    const DWORD length = SearchPathA(root.c_str(), ImmunityFolderName, nullptr, sizeof found, found, &name);
    if (length == 0)
        return RootEntry::None;
    // A result as large as the buffer is the room needed, nothing written;
    // the built path names the same entry.
    *path = length < sizeof found ? std::string(found, length) : root + ImmunityFolderName;
    const DWORD attributes = GetFileAttributesA(path->c_str());
    // The failure value has the folder bit set too: an entry that cannot be
    // read is no proof of immunity.
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return RootEntry::None;
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? RootEntry::Folder : RootEntry::File;
}

// An autorun file on a root is a threat of its own: away with it, and warn.
void DeleteAutorunFile(const std::string& root, const std::string& path, const std::function<void()>& alarm)
{
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(path.c_str());
    if (alarm)
        alarm();
    AppMessageBox(FormatResString(IDS_VIRUS_ON_ROOT, root.c_str()), MB_OK);
}

void WriteReadMe(const std::string& path)
{
    const std::string text = LoadResString(IDS_IMMUNITY_README);
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    if (!text.empty())
        WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
}

// True when the file holds exactly the ReadMe text: a ReadMe.txt of anyone
// else's AUTORUN.INF folder is not ours to delete.
bool IsOwnReadMe(const std::string& path)
{
    const std::string text = LoadResString(IDS_IMMUNITY_README);
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    // One byte more than the text, so that a longer file shows as different.
    std::string content(text.size() + 1, '\0');
    DWORD read = 0;
    const bool ok = ReadFile(file, &content[0], static_cast<DWORD>(content.size()), &read, nullptr) != 0;
    CloseHandle(file);
    content.resize(read);
    return ok && content == text;
}

void WriteAutorunPolicy(HKEY root, const std::string& key, DWORD value)
{
    HKEY policy = nullptr;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_ALL_ACCESS, &policy) != ERROR_SUCCESS) {
        AppMessageBox(RegistryAccessErrorText, MB_OK);
        return;
    }
    const LONG written = RegSetValueExA(policy, AutorunPolicyValue, 0, REG_DWORD,
                                        reinterpret_cast<const BYTE*>(&value), sizeof value);
    RegCloseKey(policy);
    // A value that did not change must not pass for one that did.
    if (written != ERROR_SUCCESS)
        AppMessageBox(RegistryAccessErrorText, MB_OK);
}

} // namespace

void PlayAlarmSound()
{
    PlaySoundA(MAKEINTRESOURCEA(IDR_TOOLS_ALARM_SOUND), GetModuleHandleA(nullptr), SND_RESOURCE | SND_ASYNC);
}

std::vector<std::string> ImmunityDriveRoots(const DrivePlatform& platform)
{
    std::vector<std::string> roots;
    const DWORD present = platform.LogicalDrives();
    // Only the 26 letters name drives; any higher bit names none.
    for (int index = 0; index < 26; ++index) {
        if ((present & (1UL << index)) == 0)
            continue;
        const char drive[3] = {static_cast<char>('A' + index), ':', '\0'};
        const UINT type = platform.DriveType(drive);
        if (type == DRIVE_REMOVABLE || type == DRIVE_FIXED)
            roots.push_back(std::string(drive) + '\\');
    }
    return roots;
}

ImmunityScope ComputerImmunityScope()
{
    ImmunityScope scope;
    scope.roots = ImmunityDriveRoots(Win32DrivePlatform());
    return scope;
}

void ImmunizeDrive(const std::string& root)
{
    ImmunizeDrive(root, PlayAlarmSound);
}

void ImmunizeDrive(const std::string& root, const std::function<void()>& alarm)
{
    const std::string folder = root + ImmunityFolderName;
    std::string found;
    switch (FindAutorunEntry(root, &found)) {
    case RootEntry::Folder:
        return;
    case RootEntry::File:
        DeleteAutorunFile(root, found, alarm);
        break;
    case RootEntry::None:
        break;
    }
    // Fails on a drive without a medium, a write-protected one, or where the
    // autorun file would not go: that drive stays as it is.
    if (!CreateDirectoryA(folder.c_str(), nullptr))
        return;
    SetFileAttributesA(folder.c_str(), FILE_ATTRIBUTE_HIDDEN);
    CreateDirectoryA((folder + GuardFolderName).c_str(), nullptr);
    WriteReadMe(folder + ReadMeFileName);
}

void CancelDriveImmunity(const std::string& root)
{
    CancelDriveImmunity(root, PlayAlarmSound);
}

void CancelDriveImmunity(const std::string& root, const std::function<void()>& alarm)
{
    const std::string folder = root + ImmunityFolderName;
    std::string found;
    switch (FindAutorunEntry(root, &found)) {
    case RootEntry::None:
        return;
    case RootEntry::File:
        DeleteAutorunFile(root, found, alarm);
        return;
    case RootEntry::Folder:
        break;
    }
    SetFileAttributesA(folder.c_str(), FILE_ATTRIBUTE_NORMAL);
    RemoveDirectoryA((folder + GuardFolderName).c_str());
    const std::string readMe = folder + ReadMeFileName;
    if (IsOwnReadMe(readMe)) {
        SetFileAttributesA(readMe.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(readMe.c_str());
    }
    // Removes the folder only when nothing else is left in it.
    RemoveDirectoryA(folder.c_str());
}

void DisableUsbAutorun()
{
    DisableUsbAutorun(HKEY_CURRENT_USER, AutorunPolicyKey);
}

void DisableUsbAutorun(HKEY root, const std::string& key)
{
    WriteAutorunPolicy(root, key, UsbAutorunOff);
}

void EnableUsbAutorun()
{
    EnableUsbAutorun(HKEY_CURRENT_USER, AutorunPolicyKey);
}

void EnableUsbAutorun(HKEY root, const std::string& key)
{
    WriteAutorunPolicy(root, key, UsbAutorunOn);
}

void AcquireImmunity()
{
    AcquireImmunity(ComputerImmunityScope());
}

void AcquireImmunity(const ImmunityScope& scope)
{
    for (const std::string& root : scope.roots)
        ImmunizeDrive(root, scope.alarm);
    DisableUsbAutorun(scope.policyRoot, scope.policyKey);
    // Shown whatever the drives and the registry gave.
    AppMessageBox(IDS_IMMUNE, MB_OK);
}

void CancelImmunity()
{
    CancelImmunity(ComputerImmunityScope());
}

void CancelImmunity(const ImmunityScope& scope)
{
    for (const std::string& root : scope.roots)
        CancelDriveImmunity(root, scope.alarm);
    EnableUsbAutorun(scope.policyRoot, scope.policyKey);
    AppMessageBox(IDS_NOT_IMMUNE, MB_OK);
}
