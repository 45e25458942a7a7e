#include "quarantine/QuarantineStore.h"

#include <shlobj.h>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>

namespace {

constexpr char QuarantineFolderName[] = "quarantine";
constexpr char QuarantineExtension[] = ".tw";
constexpr size_t QuarantineExtensionLength = sizeof QuarantineExtension - 1;
// The longest header: signature, a 255-character origin, CR LF.
constexpr DWORD HeaderMaxLength = QuarantineSignatureLength + QuarantinePathLength - 1 + 2;

class FileHandle {
public:
    explicit FileHandle(HANDLE handle) : m_handle(handle) {}
    ~FileHandle() { Close(); }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;

    bool Valid() const { return m_handle != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return m_handle; }
    void Close()
    {
        if (Valid())
            CloseHandle(m_handle);
        m_handle = INVALID_HANDLE_VALUE;
    }

private:
    HANDLE m_handle;
};

HANDLE OpenExclusive(const char* path)
{
    return CreateFileA(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
}

HANDLE CreateNew(const char* path)
{
    return CreateFileA(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                       FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
}

// Closes and deletes a target whose copy failed, so no truncated file is left.
void Discard(FileHandle& file, const char* path)
{
    file.Close();
    DeleteFileA(path);
}

bool HasText(const char* text)
{
    return text != nullptr && text[0] != '\0';
}

// True when `text` fits a buffer of `room` bytes with its terminator.
bool Fits(const char* text, size_t room)
{
    return strnlen(text, room) < room;
}

// Reads until `length` bytes or the end of the file.
bool ReadUpTo(HANDLE file, BYTE* buffer, DWORD length, DWORD* got)
{
    *got = 0;
    while (*got < length) {
        DWORD read = 0;
        if (!ReadFile(file, buffer + *got, length - *got, &read, nullptr))
            return false;
        if (read == 0)
            break;
        *got += read;
    }
    return true;
}

bool WriteAll(HANDLE file, const BYTE* data, DWORD length)
{
    while (length > 0) {
        DWORD written = 0;
        if (!WriteFile(file, data, length, &written, nullptr) || written == 0)
            return false;
        data += written;
        length -= written;
    }
    return true;
}

// Adds `add` to every byte modulo 256: sixteen bytes per step where SSE2 is
// there, else eight, with the low seven bits of each byte added without a
// carry into the next and the top bit then the exclusive or of the two top
// bits and that carry.
void AddToEveryByte(BYTE* data, DWORD length, BYTE add)
{
    DWORD i = 0;
#if defined(__SSE2__)
    const __m128i addend16 = _mm_set1_epi8(static_cast<char>(add));
    for (; i + sizeof(__m128i) <= length; i += sizeof(__m128i)) {
        __m128i* block = reinterpret_cast<__m128i*>(data + i);
        _mm_storeu_si128(block, _mm_add_epi8(_mm_loadu_si128(block), addend16));
    }
#endif
    constexpr uint64_t Low = 0x7F7F7F7F7F7F7F7Full;
    constexpr uint64_t High = 0x8080808080808080ull;
    const uint64_t addend = add * 0x0101010101010101ull;
    for (; i + sizeof(uint64_t) <= length; i += sizeof(uint64_t)) {
        uint64_t word;
        std::memcpy(&word, data + i, sizeof word);
        word = ((word & Low) + (addend & Low)) ^ ((word ^ addend) & High);
        std::memcpy(data + i, &word, sizeof word);
    }
    for (; i < length; ++i)
        data[i] = static_cast<BYTE>(data[i] + add);
}

enum class CopyFault { None, Read, Write };

// Copies from the current position of `from` to its end. The first read takes
// `firstLength` bytes, so that a copy that starts behind a header reads at
// block boundaries of the file from then on.
CopyFault CopyShifted(HANDLE from, HANDLE to, BYTE add, BYTE* buffer, DWORD firstLength = ScrambleBlockLength)
{
    for (DWORD length = firstLength;; length = ScrambleBlockLength) {
        DWORD read = 0;
        if (!ReadFile(from, buffer, length, &read, nullptr))
            return CopyFault::Read;
        if (read == 0)
            return CopyFault::None;
        AddToEveryByte(buffer, read, add);
        if (!WriteAll(to, buffer, read))
            return CopyFault::Write;
    }
}

std::unique_ptr<BYTE[]> NewBlock()
{
    return std::unique_ptr<BYTE[]>(new (std::nothrow) BYTE[ScrambleBlockLength]);
}

// The length of the origin in a header that begins `data`, or false when the
// bytes are no header: signature (exact), an origin that fits the path buffer
// and holds no line end, CR LF.
bool ParseHeader(const BYTE* data, DWORD length, size_t* originLength)
{
    if (length < QuarantineSignatureLength || std::memcmp(data, QuarantineSignature, QuarantineSignatureLength) != 0)
        return false;
    for (DWORD i = QuarantineSignatureLength; i < length; ++i) {
        if (data[i] == '\n')
            return false;
        if (data[i] == '\r') {
            const size_t origin = i - QuarantineSignatureLength;
            if (origin >= QuarantinePathLength || i + 1 >= length || data[i + 1] != '\n')
                return false;
            *originLength = origin;
            return true;
        }
    }
    return false;
}

// Reads the header of an open quarantine file; on success the file stands at
// the first content byte, `origin` holds the terminated origin and
// `headerLength` (when given) the header's length.
bool ReadHeader(HANDLE file, char* origin, DWORD* headerLength = nullptr)
{
    BYTE header[HeaderMaxLength];
    DWORD got = 0;
    size_t originLength = 0;
    if (!ReadUpTo(file, header, sizeof header, &got) || !ParseHeader(header, got, &originLength))
        return false;
    LARGE_INTEGER contentStart;
    contentStart.QuadPart = static_cast<LONGLONG>(QuarantineSignatureLength + originLength + 2);
    if (!SetFilePointerEx(file, contentStart, nullptr, FILE_BEGIN))
        return false;
    std::memcpy(origin, header + QuarantineSignatureLength, originLength);
    origin[originLength] = '\0';
    if (headerLength != nullptr)
        *headerLength = static_cast<DWORD>(contentStart.QuadPart);
    return true;
}

// Creates the quarantine file: `exactPath` when given, else the first free
// name of `folder` and `name`. Creation is only-if-new, so two quarantines of
// the same name at once each take a name of their own.
HANDLE CreateQuarantineFile(const char* exactPath, const char* folder, const char* name, char* createdPath)
{
    if (exactPath != nullptr) {
        if (!Fits(exactPath, QuarantinePathLength))
            return INVALID_HANDLE_VALUE;
        std::strcpy(createdPath, exactPath);
        return CreateNew(exactPath);
    }
    for (unsigned number = 1; number <= QuarantineNumberLimit; ++number) {
        if (!MakeQuarantinePath(folder, name, number, createdPath))
            return INVALID_HANDLE_VALUE;
        const HANDLE file = CreateNew(createdPath);
        if (file != INVALID_HANDLE_VALUE)
            return file;
        const DWORD error = GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS)
            return INVALID_HANDLE_VALUE;
    }
    return INVALID_HANDLE_VALUE;
}

ScrambleResult QuarantineCopy(const char* plainPath, const char* exactPath, const char* folder, const char* name)
{
    // The origin must fit the header's path buffer, or it could not be restored.
    if (!Fits(plainPath, QuarantinePathLength))
        return ScramblePlainFailed;
    const std::unique_ptr<BYTE[]> buffer = NewBlock();
    if (!buffer)
        return ScrambleQuarantineFailed;
    FileHandle plain(OpenExclusive(plainPath));
    if (!plain.Valid())
        return ScramblePlainFailed;
    char quarantinePath[QuarantinePathLength];
    FileHandle quarantine(CreateQuarantineFile(exactPath, folder, name, quarantinePath));
    if (!quarantine.Valid())
        return ScrambleQuarantineFailed;

    const size_t plainLength = std::strlen(plainPath);
    BYTE header[HeaderMaxLength];
    std::memcpy(header, QuarantineSignature, QuarantineSignatureLength);
    std::memcpy(header + QuarantineSignatureLength, plainPath, plainLength);
    std::memcpy(header + QuarantineSignatureLength + plainLength, "\r\n", 2);
    if (!WriteAll(quarantine.Get(), header, static_cast<DWORD>(QuarantineSignatureLength + plainLength + 2))) {
        Discard(quarantine, quarantinePath);
        return ScrambleQuarantineFailed;
    }
    switch (CopyShifted(plain.Get(), quarantine.Get(), ScrambleShift, buffer.get())) {
    case CopyFault::None:
        return ScrambleWritten;
    case CopyFault::Read:
        Discard(quarantine, quarantinePath);
        return ScramblePlainFailed;
    case CopyFault::Write:
        break;
    }
    Discard(quarantine, quarantinePath);
    return ScrambleQuarantineFailed;
}

ScrambleResult RestoreCopy(const char* plainPath, const char* quarantinePath)
{
    if (!Fits(plainPath, QuarantinePathLength))
        return ScramblePlainFailed;
    const std::unique_ptr<BYTE[]> buffer = NewBlock();
    if (!buffer)
        return ScramblePlainFailed;
    FileHandle quarantine(OpenExclusive(quarantinePath));
    if (!quarantine.Valid())
        return ScrambleQuarantineFailed;
    char origin[QuarantinePathLength];
    DWORD headerLength = 0;
    if (!ReadHeader(quarantine.Get(), origin, &headerLength))
        return ScrambleNoSignature;
    FileHandle plain(CreateNew(plainPath));
    if (!plain.Valid())
        return ScramblePlainFailed;
    switch (CopyShifted(quarantine.Get(), plain.Get(), static_cast<BYTE>(0x100 - ScrambleShift), buffer.get(),
                        ScrambleBlockLength - headerLength)) {
    case CopyFault::None:
        return ScrambleWritten;
    case CopyFault::Read:
        Discard(plain, plainPath);
        return ScrambleQuarantineFailed;
    case CopyFault::Write:
        break;
    }
    Discard(plain, plainPath);
    return ScramblePlainFailed;
}

bool IsFolder(const char* path)
{
    const DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool EndsWithNoCase(const char* text, const char* ending)
{
    const size_t length = std::strlen(text);
    const size_t endingLength = std::strlen(ending);
    return length >= endingLength && lstrcmpiA(text + length - endingLength, ending) == 0;
}

} // namespace

ScrambleResult ScrambleFile(const char* plainPath, const char* quarantinePath, ScrambleDirection direction)
{
    if (!HasText(plainPath) || !HasText(quarantinePath))
        return ScrambleMissingPath;
    if (direction == ScrambleDirection::Quarantining)
        return QuarantineCopy(plainPath, quarantinePath, nullptr, nullptr);
    return RestoreCopy(plainPath, quarantinePath);
}

bool QuarantineFile(const char* path)
{
    char programFolder[ProgramFolderLength];
    return GetProgramFolder(programFolder) && QuarantineFile(path, programFolder);
}

bool QuarantineFile(const char* path, const char* programFolder)
{
    if (!HasText(path) || !Fits(path, QuarantinePathLength))
        return false;
    const DWORD attributes = GetFileAttributesA(path);
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return false;
    char folder[QuarantinePathLength];
    char name[QuarantinePathLength];
    if (!GetQuarantineFolder(programFolder, folder) || !GetFileNamePart(path, name))
        return false;
    if (QuarantineCopy(path, nullptr, folder, name) != ScrambleWritten)
        return false;
    SetFileAttributesA(path, FILE_ATTRIBUTE_NORMAL);
    return DeleteFileA(path) != FALSE;
}

int RestoreQuarantined(const char* quarantinePath)
{
    char desktop[MAX_PATH];
    const bool haveDesktop = SHGetSpecialFolderPathA(nullptr, desktop, CSIDL_DESKTOPDIRECTORY, FALSE) != FALSE;
    return RestoreQuarantined(quarantinePath, haveDesktop ? desktop : nullptr);
}

int RestoreQuarantined(const char* quarantinePath, const char* desktopFolder)
{
    if (!HasText(quarantinePath))
        return 0;
    char origin[QuarantinePathLength];
    if (!ReadQuarantineOrigin(quarantinePath, origin))
        return 0;
    if (ScrambleFile(origin, quarantinePath, ScrambleDirection::Restoring) == ScrambleWritten)
        return 1;
    char name[QuarantinePathLength];
    if (!HasText(desktopFolder) || !GetFileNamePart(origin, name))
        return 0;
    const size_t folderLength = std::strlen(desktopFolder);
    const char* separator = desktopFolder[folderLength - 1] == '\\' ? "" : "\\";
    char target[QuarantinePathLength];
    const int length = std::snprintf(target, sizeof target, "%s%s%s", desktopFolder, separator, name);
    if (length < 0 || static_cast<size_t>(length) >= sizeof target)
        return 0;
    return ScrambleFile(target, quarantinePath, ScrambleDirection::Restoring) == ScrambleWritten ? 2 : 0;
}

bool ReadQuarantineOrigin(const char* quarantinePath, char* origin)
{
    if (!HasText(quarantinePath) || origin == nullptr)
        return false;
    FileHandle file(OpenExclusive(quarantinePath));
    char read[QuarantinePathLength];
    if (!file.Valid() || !ReadHeader(file.Get(), read))
        return false;
    std::strcpy(origin, read);
    return true;
}

bool GetQuarantineFolder(char* folder)
{
    char programFolder[ProgramFolderLength];
    return folder != nullptr && GetProgramFolder(programFolder) && GetQuarantineFolder(programFolder, folder);
}

bool GetQuarantineFolder(const char* programFolder, char* folder)
{
    if (!HasText(programFolder) || folder == nullptr)
        return false;
    char path[QuarantinePathLength];
    const int length = std::snprintf(path, sizeof path, "%s%s\\", programFolder, QuarantineFolderName);
    if (length < 0 || static_cast<size_t>(length) >= sizeof path)
        return false;
    // Another thread may create it between the look and the creation.
    if (!IsFolder(path) && !CreateDirectoryA(path, nullptr) && !IsFolder(path))
        return false;
    std::strcpy(folder, path);
    return true;
}

bool GetProgramFolder(char* folder)
{
    if (folder == nullptr)
        return false;
    char path[ProgramFolderLength];
    const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    // A full buffer means the path was cut.
    if (length == 0 || length >= sizeof path)
        return false;
    char* lastBackslash = std::strrchr(path, '\\');
    if (lastBackslash == nullptr)
        return false;
    lastBackslash[1] = '\0';
    std::strcpy(folder, path);
    return true;
}

bool GetFileNamePart(const char* path, char* name)
{
    if (path == nullptr || name == nullptr)
        return false;
    const char* lastBackslash = std::strrchr(path, '\\');
    if (lastBackslash == nullptr || !Fits(lastBackslash + 1, QuarantinePathLength))
        return false;
    std::strcpy(name, lastBackslash + 1);
    return true;
}

bool MakeQuarantinePath(const char* folder, const char* name, unsigned number, char* path)
{
    if (folder == nullptr || name == nullptr || path == nullptr || number == 0)
        return false;
    char made[QuarantinePathLength];
    const int length = number == 1
                           ? std::snprintf(made, sizeof made, "%s%s%s", folder, name, QuarantineExtension)
                           : std::snprintf(made, sizeof made, "%s%s(%u)%s", folder, name, number, QuarantineExtension);
    if (length < 0 || static_cast<size_t>(length) >= sizeof made)
        return false;
    std::strcpy(path, made);
    return true;
}

std::vector<QuarantineEntry> ListQuarantine(const char* folder)
{
    std::vector<QuarantineEntry> entries;
    if (!HasText(folder))
        return entries;
    const std::string root = folder;
    WIN32_FIND_DATAA data;
    const HANDLE find = FindFirstFileA((root + "*" + QuarantineExtension).c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return entries;
    do {
        // The pattern can also match by a file's short name.
        if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ||
            !EndsWithNoCase(data.cFileName, QuarantineExtension) ||
            std::strlen(data.cFileName) <= QuarantineExtensionLength)
            continue;
        const std::string path = root + data.cFileName;
        char origin[QuarantinePathLength];
        if (ReadQuarantineOrigin(path.c_str(), origin))
            entries.push_back({origin, path});
    } while (FindNextFileA(find, &data));
    FindClose(find);
    return entries;
}
