// Runs the real Plugwarden.exe from a folder of its own: the skin engine's
// three calls, and copies under different file names running side by side.
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr UINT CommandQuit = 1062;
const char MainWindowTitle[] = "Thumbfort - tarnwick";

// A path of the build (a Unix path) as the Windows programs see it.
std::string BuildPath(const char* unixPath)
{
    std::string path = std::string("Z:") + unixPath;
    for (char& c : path)
        if (c == '/')
            c = '\\';
    return path;
}

struct Started {
    PROCESS_INFORMATION process = {};
    HWND mainWindow = nullptr;
};

struct MainWindowSearch {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK MatchMainWindow(HWND window, LPARAM param)
{
    auto* search = reinterpret_cast<MainWindowSearch*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char title[64] = {};
    GetWindowTextA(window, title, sizeof title);
    if (owner != search->processId || std::string(title) != MainWindowTitle)
        return TRUE;
    search->found = window;
    return FALSE;
}

HWND FindMainWindow(DWORD processId)
{
    MainWindowSearch search = {processId, nullptr};
    EnumWindows(MatchMainWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

struct MessageBoxSearch {
    DWORD processId;
    std::string text;
    HWND found;
};

BOOL CALLBACK MatchMessageBox(HWND window, LPARAM param)
{
    auto* search = reinterpret_cast<MessageBoxSearch*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char className[16] = {};
    GetClassNameA(window, className, sizeof className);
    char text[256] = {};
    GetDlgItemTextA(window, 0xFFFF, text, sizeof text);
    if (owner != search->processId || std::string(className) != "#32770" || search->text != text)
        return TRUE;
    search->found = window;
    return FALSE;
}

// Waits for the program's message box showing `text` and presses `button`.
bool AnswerMessageBox(DWORD processId, const std::string& text, int button)
{
    for (int i = 0; i < 300; ++i) {
        MessageBoxSearch search = {processId, text, nullptr};
        EnumWindows(MatchMessageBox, reinterpret_cast<LPARAM>(&search));
        if (search.found != nullptr) {
            PostMessageA(search.found, WM_COMMAND, button, 0);
            return true;
        }
        Sleep(50);
    }
    return false;
}

bool Start(const std::string& program, Started* started)
{
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    std::string commandLine = "\"" + program + "\"";
    const std::string folder = program.substr(0, program.find_last_of('\\'));
    if (!CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                        &startup, &started->process))
        return false;
    for (int i = 0; i < 300 && started->mainWindow == nullptr; ++i) {
        Sleep(50);
        started->mainWindow = FindMainWindow(started->process.dwProcessId);
    }
    return started->mainWindow != nullptr;
}

// Quits through the notification-area menu's command; true when the process ended.
bool Quit(Started& started)
{
    PostMessageA(started.mainWindow, WM_COMMAND, CommandQuit, 0);
    const bool ended = WaitForSingleObject(started.process.hProcess, 15000) == WAIT_OBJECT_0;
    if (!ended)
        TerminateProcess(started.process.hProcess, 1);
    CloseHandle(started.process.hProcess);
    CloseHandle(started.process.hThread);
    return ended;
}

std::vector<std::string> Lines(const std::string& path)
{
    std::string content;
    std::vector<std::string> lines;
    if (!ReadTestFile(path, &content))
        return lines;
    size_t start = 0;
    for (size_t end; (end = content.find('\n', start)) != std::string::npos; start = end + 1)
        lines.push_back(content.substr(start, end - start));
    return lines;
}

class StartupTest : public testing::Test {
protected:
    void SetUp() override
    {
        // The one-time autorun question is answered already; it is not what this test is about.
        HKEY key;
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\tarnwick", 0, nullptr, 0,
                                                 KEY_ALL_ACCESS, nullptr, &key, nullptr));
        m_hadAutorun = RegQueryValueExA(key, "autorun", nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
        RegSetValueExA(key, "autorun", 0, REG_SZ, reinterpret_cast<const BYTE*>("1"), 2);
        RegCloseKey(key);
    }
    void TearDown() override
    {
        if (!m_hadAutorun) {
            HKEY key;
            if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\tarnwick", 0, KEY_ALL_ACCESS, &key) == ERROR_SUCCESS) {
                RegDeleteValueA(key, "autorun");
                RegCloseKey(key);
            }
        }
    }
    std::string Install(const char* name)
    {
        const std::string target = m_folder / name;
        EXPECT_TRUE(CopyFileA(BuildPath(PLUGWARDEN_EXE).c_str(), target.c_str(), FALSE)) << target;
        return target;
    }

    TempFolder m_folder;
    bool m_hadAutorun = false;
};

TEST_F(StartupTest, SkinEngineIsCalledAtStartAndExit)
{
    const std::string program = Install("Plugwarden.exe");
    ASSERT_TRUE(CopyFileA(BuildPath(SKIN_LOAD_DLL).c_str(), (m_folder / "SkinLoad.dll").c_str(), FALSE));
    Started started;
    ASSERT_TRUE(Start(program, &started));
    const DWORD uiThread = GetWindowThreadProcessId(started.mainWindow, nullptr);
    const std::vector<std::string> atStart = Lines(m_folder / "skin-calls.txt");
    const std::vector<std::string> expectedAtStart = {"InitSkinLoad " + std::to_string(uiThread),
                                                      "LoadSkin " + (m_folder / "xp_normal.skin")};
    EXPECT_EQ(expectedAtStart, atStart);
    ASSERT_TRUE(Quit(started));
    std::vector<std::string> expected = expectedAtStart;
    expected.push_back("ExitSkin");
    EXPECT_EQ(expected, Lines(m_folder / "skin-calls.txt"));
}

TEST_F(StartupTest, RunsWithoutSkinEngine)
{
    Started started;
    ASSERT_TRUE(Start(Install("Plugwarden.exe"), &started));
    EXPECT_TRUE(Quit(started));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((m_folder / "skin-calls.txt").c_str()));
}

TEST_F(StartupTest, CopiesUnderOtherNamesRunSideBySide)
{
    Started first, second;
    ASSERT_TRUE(Start(Install("Plugwarden.exe"), &first));
    ASSERT_TRUE(Start(Install("Sentinel.exe"), &second));
    Sleep(1000);
    DWORD code = 0;
    EXPECT_TRUE(GetExitCodeProcess(second.process.hProcess, &code) && code == STILL_ACTIVE);
    EXPECT_NE(nullptr, GetPropA(second.mainWindow, "Sentinel"));
    EXPECT_EQ(nullptr, GetPropA(second.mainWindow, "Plugwarden"));
    EXPECT_NE(nullptr, GetPropA(first.mainWindow, "Plugwarden"));
    EXPECT_TRUE(Quit(second));
    EXPECT_TRUE(Quit(first));
}

TEST_F(StartupTest, EscapeAsksBeforeQuitting)
{
    Started started;
    ASSERT_TRUE(Start(Install("Plugwarden.exe"), &started));
    const DWORD id = started.process.dwProcessId;
    PostMessageA(started.mainWindow, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(AnswerMessageBox(id, "Do you want to quit?", IDCANCEL));
    EXPECT_EQ(static_cast<DWORD>(WAIT_TIMEOUT), WaitForSingleObject(started.process.hProcess, 1000))
        << "Cancel ended the program";
    PostMessageA(started.mainWindow, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(AnswerMessageBox(id, "Do you want to quit?", IDOK));
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(started.process.hProcess, 15000));
    CloseHandle(started.process.hProcess);
    CloseHandle(started.process.hThread);
}

TEST_F(StartupTest, UninstallerWindowEndsTheProgram)
{
    Started started;
    ASSERT_TRUE(Start(Install("Plugwarden.exe"), &started));
    // Another title, or another letter case, is not the uninstaller.
    HWND lookalike = CreateWindowExA(0, "STATIC", "Thumbfort uninstall", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                     nullptr, nullptr);
    EXPECT_EQ(static_cast<DWORD>(WAIT_TIMEOUT), WaitForSingleObject(started.process.hProcess, 1000));
    HWND uninstaller = CreateWindowExA(0, "STATIC", "Thumbfort Uninstall", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                       nullptr, nullptr);
    ASSERT_TRUE(AnswerMessageBox(started.process.dwProcessId, "The Thumbfort will quit!", IDOK));
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(started.process.hProcess, 15000));
    DestroyWindow(uninstaller);
    DestroyWindow(lookalike);
    CloseHandle(started.process.hProcess);
    CloseHandle(started.process.hThread);
}

// The shipped file carries its version and asks for common controls 6 and an
// elevated start (it writes under HKEY_LOCAL_MACHINE).
TEST(ProgramFile, CarriesVersionAndManifest)
{
    const std::string program = BuildPath(PLUGWARDEN_EXE);
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(program.c_str(), &ignored);
    ASSERT_NE(0u, size);
    std::vector<char> info(size);
    ASSERT_TRUE(GetFileVersionInfoA(program.c_str(), 0, size, info.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(MAKELONG(0, 5), static_cast<LONG>(fixed->dwFileVersionMS));
    EXPECT_EQ(MAKELONG(80, 0), static_cast<LONG>(fixed->dwFileVersionLS));

    HMODULE module = LoadLibraryExA(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(nullptr, module);
    HRSRC resource = FindResourceA(module, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
    ASSERT_NE(nullptr, resource);
    const char* text = static_cast<const char*>(LockResource(LoadResource(module, resource)));
    const std::string manifest(text, SizeofResource(module, resource));
    EXPECT_NE(std::string::npos, manifest.find("Microsoft.Windows.Common-Controls\" version=\"6.0.0.0"));
    EXPECT_NE(std::string::npos, manifest.find("level=\"requireAdministrator\""));
    FreeLibrary(module);
}

} // namespace
