#include "support/TempFolder.h"

#include <cstdio>
#include <vector>

TempFolder::TempFolder()
{
    char base[MAX_PATH];
    GetTempPathA(sizeof base, base);
    static unsigned counter = 0;
    for (;;) {
        char name[MAX_PATH];
        std::snprintf(name, sizeof name, "%spwtest%lu_%u\\", base, GetCurrentProcessId(), ++counter);
        if (CreateDirectoryA(name, nullptr)) {
            m_path = name;
            return;
        }
    }
}

TempFolder::~TempFolder()
{
    RemoveTree(m_path);
}

bool WriteTestFile(const std::string& path, const std::string& content, DWORD attributes)
{
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const bool ok = content.empty() ||
                    (WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr) &&
                     written == content.size());
    CloseHandle(file);
    return ok && SetFileAttributesA(path.c_str(), attributes);
}

bool ReadTestFile(const std::string& path, std::string* content)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    content->clear();
    std::vector<char> buffer(1 << 16);
    DWORD read = 0;
    while (ReadFile(file, buffer.data(), static_cast<DWORD>(buffer.size()), &read, nullptr) && read > 0)
        content->append(buffer.data(), read);
    CloseHandle(file);
    return true;
}

void RemoveTree(const std::string& folder)
{
    std::string root = folder;
    if (!root.empty() && root.back() != '\\')
        root += '\\';
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((root + "*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = data.cFileName;
            if (name == "." || name == "..")
                continue;
            const std::string path = root + name;
            SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(path);
            else
                DeleteFileA(path.c_str());
        } while (FindNextFileA(find, &data));
        FindClose(find);
    }
    RemoveDirectoryA(root.c_str());
}

bool WaitForDriveType(const char* root, UINT type, DWORD timeoutMs)
{
    const DWORD start = GetTickCount();
    while (GetDriveTypeA(root) != type) {
        if (GetTickCount() - start >= timeoutMs)
            return false;
        Sleep(50);
    }
    return true;
}
