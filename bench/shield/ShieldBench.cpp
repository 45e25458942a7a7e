// Inspecting a drive root against a bare listing of the same root, in one run.
// The root holds 1000 entries, 100 of them threats (50 ".inf", 50 hidden ".exe").
#include "panels/usb/ShieldPanel.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

const char Root[] = "C:\\pwbench-shield\\";
constexpr int Entries = 1000;
constexpr int Rounds = 30;

void MakeRoot()
{
    CreateDirectoryA(Root, nullptr);
    const char* harmless[] = {".txt", ".doc", ".jpg", ".exe", ".pdf", ".mp3"};
    for (int i = 0; i < Entries; ++i) {
        std::string name;
        DWORD attributes = FILE_ATTRIBUTE_NORMAL;
        if (i < 50) {
            name = "setup" + std::to_string(i) + ".inf";
        } else if (i < 100) {
            name = "hidden" + std::to_string(i) + ".exe";
            attributes = FILE_ATTRIBUTE_HIDDEN;
        } else {
            name = "file" + std::to_string(i) + harmless[i % 6]; // visible ".exe" is no root threat
        }
        const std::string path = Root + name;
        HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, attributes, nullptr);
        CloseHandle(file);
    }
}

void RemoveRoot()
{
    WIN32_FIND_DATAA entry;
    HANDLE find = FindFirstFileA((std::string(Root) + "*").c_str(), &entry);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::string path = std::string(Root) + entry.cFileName;
            SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileA(path.c_str());
        } while (FindNextFileA(find, &entry));
        FindClose(find);
    }
    RemoveDirectoryA(Root);
}

double Seconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

int BareListing()
{
    int count = 0;
    WIN32_FIND_DATAA entry;
    HANDLE find = FindFirstFileA((std::string(Root) + "*.*").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE)
        return 0;
    do
        ++count;
    while (FindNextFileA(find, &entry));
    FindClose(find);
    return count;
}

// Median time of `work`, with `prepare` run untimed before each round.
template <class Prepare, class Work>
double Median(Prepare prepare, Work work)
{
    std::vector<double> times;
    for (int round = 0; round < Rounds; ++round) {
        prepare();
        LARGE_INTEGER start, end;
        QueryPerformanceCounter(&start);
        work();
        QueryPerformanceCounter(&end);
        times.push_back(Seconds(start, end));
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

} // namespace

int main()
{
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    RemoveRoot();
    MakeRoot();

    HWND host = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 800, 600, nullptr, nullptr, nullptr, nullptr);
    CShieldPanel panel;
    if (!panel.Create(host)) {
        std::printf("cannot create the shield panel\n");
        return 1;
    }
    int listed = 0;
    const double bare = Median([] {}, [&] { listed = BareListing(); });
    // The main window empties the list before each inspection; that is not timed.
    const double inspect = Median([&] { panel.EmptyThreatList(); }, [&] { panel.InspectRoots({Root}); });
    const int rows = ListView_GetItemCount(panel.ThreatList());
    RemoveRoot();

    std::printf("root entries listed: %d, threat rows: %d\n", listed, rows);
    std::printf("bare listing: %.3f ms, InspectDrives: %.3f ms (median of %d)\n", bare * 1000, inspect * 1000, Rounds);
    std::printf("InspectDrives/bare listing time ratio: %.2f (target at most 2)\n", inspect / bare);
    return rows == 100 ? 0 : 1;
}
