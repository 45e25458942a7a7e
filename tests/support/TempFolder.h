// A folder of its own for one test, removed with everything in it afterwards.
#pragma once

#include <windows.h>

#include <string>

class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // The folder with a trailing backslash.
    const std::string& Path() const { return m_path; }
    std::string operator/(const std::string& name) const { return m_path + name; }

private:
    std::string m_path;
};

// Writes `content` into a new file (replacing one), with the given attributes.
bool WriteTestFile(const std::string& path, const std::string& content, DWORD attributes = FILE_ATTRIBUTE_NORMAL);
// The whole content of a file; false when it cannot be read.
bool ReadTestFile(const std::string& path, std::string* content);
// Removes a folder tree (attributes cleared first).
void RemoveTree(const std::string& folder);

// Waits until `root` ("R:") has the drive type `type`: after a wineserver
// restart the mount manager comes up a moment after the first program.
bool WaitForDriveType(const char* root, UINT type, DWORD timeoutMs = 15000);
