// Times quarantining and restoring a large file against CopyFileA of the same
// file, and checks that the restored file is the source byte for byte.
#include "quarantine/QuarantineStore.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

namespace {

constexpr DWORD FileMiB = 256;
constexpr DWORD ChunkLength = 1 << 20;
constexpr int Runs = 3;

double Seconds()
{
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Every byte value in order, interleaved with a pseudo-random stream, so that
// both the full byte range and incompressible data pass through.
void FillChunk(BYTE* chunk, DWORD index, unsigned* state)
{
    for (DWORD i = 0; i < ChunkLength; ++i) {
        if ((i / 4096) % 2 == 0) {
            chunk[i] = static_cast<BYTE>(i + index);
        } else {
            *state ^= *state << 13;
            *state ^= *state >> 17;
            *state ^= *state << 5;
            chunk[i] = static_cast<BYTE>(*state >> 24);
        }
    }
}

bool WriteSource(const std::string& path)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    const std::unique_ptr<BYTE[]> chunk(new BYTE[ChunkLength]);
    unsigned state = 0x2545F491;
    bool ok = true;
    for (DWORD index = 0; ok && index < FileMiB; ++index) {
        FillChunk(chunk.get(), index, &state);
        DWORD written = 0;
        ok = WriteFile(file, chunk.get(), ChunkLength, &written, nullptr) && written == ChunkLength;
    }
    CloseHandle(file);
    return ok;
}

bool SameContent(const std::string& a, const std::string& b)
{
    HANDLE fa = CreateFileA(a.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    HANDLE fb = CreateFileA(b.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    bool same = fa != INVALID_HANDLE_VALUE && fb != INVALID_HANDLE_VALUE;
    const std::unique_ptr<BYTE[]> ba(new BYTE[ChunkLength]);
    const std::unique_ptr<BYTE[]> bb(new BYTE[ChunkLength]);
    while (same) {
        DWORD ra = 0;
        DWORD rb = 0;
        same = ReadFile(fa, ba.get(), ChunkLength, &ra, nullptr) && ReadFile(fb, bb.get(), ChunkLength, &rb, nullptr) &&
               ra == rb && std::memcmp(ba.get(), bb.get(), ra) == 0;
        if (ra == 0)
            break;
    }
    if (fa != INVALID_HANDLE_VALUE)
        CloseHandle(fa);
    if (fb != INVALID_HANDLE_VALUE)
        CloseHandle(fb);
    return same;
}

void RemoveFile(const std::string& path)
{
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(path.c_str());
}

double MiBPerSecond(double seconds)
{
    return FileMiB / seconds;
}

} // namespace

int main()
{
    char tempBase[MAX_PATH];
    if (GetTempPathA(sizeof tempBase, tempBase) == 0)
        return 1;
    const std::string root = std::string(tempBase) + "pwbench" + std::to_string(GetCurrentProcessId()) + "\\";
    const std::string program = root + "program\\";
    const std::string drive = root + "drive\\";
    const std::string desktop = root + "desktop";
    const std::string source = root + "source.bin";
    const std::string victim = drive + "payload.exe";
    const std::string quarantined = program + "quarantine\\payload.exe.tw";
    for (const std::string& folder : {root, program, drive, desktop})
        CreateDirectoryA(folder.c_str(), nullptr);

    std::printf("file: %lu MiB, block: %lu bytes, best of %d runs\n", static_cast<unsigned long>(FileMiB),
                static_cast<unsigned long>(ScrambleBlockLength), Runs);
    int failures = 0;
    if (!WriteSource(source)) {
        std::printf("cannot write the source file %s\n", source.c_str());
        return 1;
    }

    double bestCopy = 1e30;
    double bestQuarantine = 1e30;
    double bestRestore = 1e30;
    // Each step reads the file the step before wrote and writes a new one: the
    // copy makes the file on the drive, the quarantine moves it away, the
    // restore puts it back.
    for (int run = 0; run < Runs; ++run) {
        double start = Seconds();
        const bool copied = CopyFileA(source.c_str(), victim.c_str(), TRUE) != FALSE;
        const double copyTime = Seconds() - start;

        start = Seconds();
        const bool moved = copied && QuarantineFile(victim.c_str(), program.c_str());
        const double quarantineTime = Seconds() - start;

        start = Seconds();
        const int restored = moved ? RestoreQuarantined(quarantined.c_str(), desktop.c_str()) : 0;
        const double restoreTime = Seconds() - start;

        const bool same = restored == 1 && SameContent(source, victim);
        std::printf("run %d: CopyFile %.0f MiB/s, quarantine %.0f MiB/s, restore %.0f MiB/s, restored %s\n", run + 1,
                    MiBPerSecond(copyTime), MiBPerSecond(quarantineTime), MiBPerSecond(restoreTime),
                    same ? "byte for byte" : "WRONG");
        if (!copied || !moved || !same) {
            std::printf("run %d failed: copy %d, quarantine %d, restore %d, same %d\n", run + 1, copied, moved,
                        restored, same);
            ++failures;
        } else {
            bestCopy = std::min(bestCopy, copyTime);
            bestQuarantine = std::min(bestQuarantine, quarantineTime);
            bestRestore = std::min(bestRestore, restoreTime);
        }
        RemoveFile(victim);
        RemoveFile(quarantined);
    }
    RemoveFile(source);
    RemoveDirectoryA((program + "quarantine").c_str());
    for (const std::string& folder : {desktop, drive, program, root})
        RemoveDirectoryA(folder.c_str());

    if (failures == Runs)
        return 1;
    std::printf("quarantine/CopyFile throughput ratio: %.2f\n", bestCopy / bestQuarantine);
    std::printf("restore/CopyFile throughput ratio: %.2f\n", bestCopy / bestRestore);
    return failures == 0 ? 0 : 1;
}
