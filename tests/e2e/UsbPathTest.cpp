// The USB path of the real main program, driven from outside like a user
// would: start-up, a device arrival with two prepared drives, Delete all into
// the quarantine, a second start, close and quit, and a picture of each panel.
// Runs inside the prefix that usb-path-test prepares (drives R: and S:, a
// fresh program folder); every wait is bounded so a hang only fails the test.
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>
#include <dbt.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

const char MainWindowTitle[] = "Thumbfort - tarnwick";
const char AppName[] = "Plugwarden";
const char QuarantineSignature[] = "tarnwick";
const DWORD StepTimeoutMs = 15000;
const char PoliciesExplorerKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer";

const char AskDisableAutorun[] =
    "AUTORUN of USB drive is potentially unsafe.\r\nDo you want to disable AUTORUN of USB drive?";
const char AskDeleteAll[] = "Do you want to delete all?";
const char PleaseWait[] = "Please wait for a while";
const char PleaseReplug[] = "Please remove your USB disk and plug it into the computer again";

// Controls of the main window and the shield panel.
const int TabShield = 1001;
const int ShieldList = 1015;
const int ShieldDeleteAll = 1016;
const int ShieldStatus = 1017;
const int TrayQuit = 1062;
const UINT TrayIconId = 160;

const char AutorunContent[] = "[autorun]\r\nopen=setup.exe\r\nicon=setup.exe,0\r\n";
// Bytes across the whole range, so that a shift that wraps around shows.
std::string SetupContent()
{
    std::string content = "MZ";
    for (int i = 0; i < 600; ++i)
        content += static_cast<char>(i % 256);
    return content;
}

std::string Env(const char* name)
{
    char value[1024];
    const DWORD length = GetEnvironmentVariableA(name, value, sizeof value);
    return length > 0 && length < sizeof value ? std::string(value, length) : std::string();
}

std::string ClassOf(HWND window)
{
    char name[128];
    const int length = GetClassNameA(window, name, sizeof name);
    return std::string(name, length > 0 ? length : 0);
}

// WM_GETTEXT is marshalled between processes; a hung window gives a marker.
std::string TextOf(HWND window)
{
    char text[1024] = {};
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000,
                             &length))
        return "<window did not answer WM_GETTEXT>";
    return std::string(text, strnlen(text, sizeof text));
}

std::string Printable(const std::string& text)
{
    std::string out;
    for (char c : text) {
        if (c == '\r')
            out += "\\r";
        else if (c == '\n')
            out += "\\n";
        else
            out += c;
    }
    return out;
}

struct WindowSearch {
    DWORD processId;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectWindowOfProcess(HWND window, LPARAM param)
{
    auto* search = reinterpret_cast<WindowSearch*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->processId)
        search->found.push_back(window);
    return TRUE;
}

std::vector<HWND> TopLevelWindowsOf(DWORD processId)
{
    WindowSearch search = {processId, {}};
    EnumWindows(CollectWindowOfProcess, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::vector<HWND> ChildrenOf(HWND parent)
{
    std::vector<HWND> children;
    for (HWND child = GetWindow(parent, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT))
        children.push_back(child);
    return children;
}

// The text control of a message box: a static with the id 0xFFFF.
HWND MessageTextControl(HWND dialog)
{
    for (HWND child : ChildrenOf(dialog)) {
        const UINT id = static_cast<UINT>(GetDlgCtrlID(child)) & 0xFFFF;
        if (id == 0xFFFF && lstrcmpiA(ClassOf(child).c_str(), "Static") == 0 &&
            (GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) != SS_ICON)
            return child;
    }
    return nullptr;
}

struct MessageBoxSeen {
    HWND window;
    std::string caption;
    std::string text;
};

std::vector<MessageBoxSeen> MessageBoxesOf(DWORD processId)
{
    std::vector<MessageBoxSeen> boxes;
    for (HWND window : TopLevelWindowsOf(processId)) {
        if (ClassOf(window) != "#32770" || !IsWindowVisible(window))
            continue;
        HWND text = MessageTextControl(window);
        if (text != nullptr && GetDlgItem(window, IDOK) != nullptr)
            boxes.push_back({window, TextOf(window), TextOf(text)});
    }
    return boxes;
}

void PressButton(HWND dialog, int id)
{
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

double NowMs()
{
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return 1000.0 * static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// One started copy of the program. Message boxes it shows are answered from a
// table of expected texts; any other box is recorded, answered with Cancel
// (or OK when it has none) so that the program goes on, and fails the test.
class RunningProgram {
public:
    explicit RunningProgram(const std::string& exe)
    {
        std::string folder = exe.substr(0, exe.find_last_of('\\') + 1);
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        std::string commandLine = "\"" + exe + "\"";
        if (CreateProcessA(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                           &startup, &m_info))
            CloseHandle(m_info.hThread);
        else
            m_info = {};
        Answer(AskDisableAutorun, IDOK);
    }
    ~RunningProgram()
    {
        for (const std::string& box : m_unexpected)
            ADD_FAILURE() << "unexpected message box " << box;
        if (m_info.hProcess == nullptr)
            return;
        if (Alive()) {
            TerminateProcess(m_info.hProcess, 1);
            WaitForSingleObject(m_info.hProcess, 5000);
        }
        CloseHandle(m_info.hProcess);
    }
    RunningProgram(const RunningProgram&) = delete;
    RunningProgram& operator=(const RunningProgram&) = delete;

    bool Started() const { return m_info.hProcess != nullptr; }
    HANDLE Process() const { return m_info.hProcess; }
    DWORD Id() const { return m_info.dwProcessId; }
    bool Alive() const { return WaitForSingleObject(m_info.hProcess, 0) == WAIT_TIMEOUT; }

    void Answer(const std::string& text, int button) { m_answers[text] = button; }

    void AnswerMessageBoxes()
    {
        for (const MessageBoxSeen& box : MessageBoxesOf(Id())) {
            if (m_pressed.count(box.window) != 0)
                continue;
            m_pressed.insert(box.window);
            auto answer = m_answers.find(box.text);
            if (answer != m_answers.end()) {
                m_answered.push_back(box.text);
                PressButton(box.window, answer->second);
            } else {
                m_unexpected.push_back("\"" + Printable(box.text) + "\" (caption \"" + box.caption + "\")");
                PressButton(box.window, GetDlgItem(box.window, IDCANCEL) != nullptr ? IDCANCEL : IDOK);
            }
        }
        for (auto it = m_pressed.begin(); it != m_pressed.end();)
            it = IsWindow(*it) ? std::next(it) : m_pressed.erase(it);
    }

    const std::vector<std::string>& Answered() const { return m_answered; }
    std::string AnsweredList() const
    {
        std::string list;
        for (const std::string& text : m_answered)
            list += "\n  \"" + Printable(text) + "\"";
        return list.empty() ? " (none)" : list;
    }

    // Polls `done` while answering message boxes, for at most `timeoutMs`.
    template <class Condition>
    bool WaitUntil(Condition done, DWORD timeoutMs = StepTimeoutMs)
    {
        const DWORD start = GetTickCount();
        for (;;) {
            AnswerMessageBoxes();
            if (done())
                return true;
            if (GetTickCount() - start >= timeoutMs)
                return false;
            Sleep(50);
        }
    }

    bool WaitForExit(DWORD timeoutMs)
    {
        return WaitUntil([this] { return !Alive(); }, timeoutMs);
    }

    HWND MainWindow() const
    {
        for (HWND window : TopLevelWindowsOf(Id()))
            if (ClassOf(window) == "#32770" && TextOf(window) == MainWindowTitle)
                return window;
        return nullptr;
    }

private:
    PROCESS_INFORMATION m_info = {};
    std::map<std::string, int> m_answers;
    std::set<HWND> m_pressed;
    std::vector<std::string> m_answered;
    std::vector<std::string> m_unexpected;
};

// Panels are the child dialogs of the main window.
std::vector<HWND> PanelsOf(HWND main)
{
    std::vector<HWND> panels;
    for (HWND child : ChildrenOf(main))
        if (ClassOf(child) == "#32770")
            panels.push_back(child);
    return panels;
}

std::vector<HWND> VisiblePanelsOf(HWND main)
{
    std::vector<HWND> visible;
    for (HWND panel : PanelsOf(main))
        if (IsWindowVisible(panel))
            visible.push_back(panel);
    return visible;
}

// Other panels use 1015 for other controls: the shield's is a list view.
bool IsShieldPanel(HWND panel)
{
    HWND list = GetDlgItem(panel, ShieldList);
    return list != nullptr && ClassOf(list) == WC_LISTVIEWA;
}

HWND ShieldPanelOf(HWND main)
{
    for (HWND panel : PanelsOf(main))
        if (IsShieldPanel(panel))
            return panel;
    return nullptr;
}

// What the visible panels are, for failure messages.
std::string DescribePanels(HWND main)
{
    std::string description = std::to_string(PanelsOf(main).size()) + " panels, visible:";
    for (HWND panel : VisiblePanelsOf(main)) {
        char id[32];
        std::snprintf(id, sizeof id, " %p", static_cast<void*>(panel));
        description += id;
        if (IsShieldPanel(panel))
            description += "(shield)";
    }
    return description;
}

bool ShieldIsTheVisiblePanel(HWND main)
{
    const std::vector<HWND> visible = VisiblePanelsOf(main);
    return visible.size() == 1 && IsShieldPanel(visible[0]);
}

struct Row {
    std::string threat;
    std::string state;
};

std::string Describe(const std::vector<Row>& rows)
{
    std::string text = std::to_string(rows.size()) + " rows:";
    for (const Row& row : rows)
        text += "\n  \"" + row.threat + "\" | \"" + row.state + "\"";
    return text;
}

// Reads a list view of another process: the item record and the text buffer
// have to live in that process for LVM_GETITEMTEXTA.
class RemoteListView {
public:
    RemoteListView(HANDLE process, HWND list) : m_process(process), m_list(list)
    {
        m_remote = static_cast<char*>(
            VirtualAllocEx(process, nullptr, sizeof(LVITEMA) + TextLength, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    }
    ~RemoteListView()
    {
        if (m_remote != nullptr)
            VirtualFreeEx(m_process, m_remote, 0, MEM_RELEASE);
    }
    RemoteListView(const RemoteListView&) = delete;
    RemoteListView& operator=(const RemoteListView&) = delete;

    bool Read(std::vector<Row>* rows)
    {
        DWORD_PTR count = 0;
        if (m_remote == nullptr || !SendMessageTimeoutA(m_list, LVM_GETITEMCOUNT, 0, 0, SMTO_ABORTIFHUNG, 5000, &count))
            return false;
        std::vector<Row> read;
        for (DWORD_PTR row = 0; row < count; ++row) {
            Row r;
            if (!ReadCell(static_cast<int>(row), 0, &r.threat) || !ReadCell(static_cast<int>(row), 1, &r.state))
                return false;
            read.push_back(r);
        }
        *rows = read;
        return true;
    }

private:
    static const size_t TextLength = 512;

    bool ReadCell(int row, int column, std::string* text)
    {
        LVITEMA item = {};
        item.mask = LVIF_TEXT;
        item.iItem = row;
        item.iSubItem = column;
        item.pszText = m_remote + sizeof(LVITEMA);
        item.cchTextMax = TextLength;
        const char empty[1] = {};
        DWORD_PTR length = 0;
        if (!WriteProcessMemory(m_process, m_remote, &item, sizeof item, nullptr) ||
            !WriteProcessMemory(m_process, m_remote + sizeof(LVITEMA), empty, 1, nullptr) ||
            !SendMessageTimeoutA(m_list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(m_remote), SMTO_ABORTIFHUNG,
                                 5000, &length))
            return false;
        char buffer[TextLength] = {};
        if (!ReadProcessMemory(m_process, m_remote + sizeof(LVITEMA), buffer, sizeof buffer, nullptr))
            return false;
        *text = std::string(buffer, strnlen(buffer, sizeof buffer));
        return true;
    }

    HANDLE m_process;
    HWND m_list;
    char* m_remote = nullptr;
};

std::vector<Row> ReadShieldRows(const RunningProgram& program, HWND main)
{
    std::vector<Row> rows;
    HWND shield = ShieldPanelOf(main);
    if (shield == nullptr)
        return rows;
    RemoteListView list(program.Process(), GetDlgItem(shield, ShieldList));
    list.Read(&rows);
    return rows;
}

std::string ShieldStatusText(HWND main)
{
    HWND shield = ShieldPanelOf(main);
    return shield != nullptr ? TextOf(GetDlgItem(shield, ShieldStatus)) : "<no shield panel>";
}

// A device arrival as the system sends it for a new volume on R: and S:.
bool SendDeviceArrival(HWND main)
{
    DEV_BROADCAST_VOLUME volume = {};
    volume.dbcv_size = sizeof volume;
    volume.dbcv_devicetype = DBT_DEVTYP_VOLUME;
    volume.dbcv_unitmask = (1u << ('R' - 'A')) | (1u << ('S' - 'A'));
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(main, WM_DEVICECHANGE, DBT_DEVICEARRIVAL, reinterpret_cast<LPARAM>(&volume),
                               SMTO_NORMAL, StepTimeoutMs, &result) != 0;
}

// The program asks about USB autorun until this setting exists.
bool AutorunSettingPresent()
{
    char value[100];
    DWORD length = sizeof value;
    return RegGetValueA(HKEY_LOCAL_MACHINE, "SOFTWARE\\tarnwick", "autorun", RRF_RT_REG_SZ, nullptr, value, &length) ==
           ERROR_SUCCESS;
}

// Whether the notification area still holds the program's icon: modifying an
// icon that is not there fails.
bool TrayIconExists(HWND main)
{
    NOTIFYICONDATAA data = {};
    data.cbSize = NOTIFYICONDATAA_V1_SIZE;
    data.hWnd = main;
    data.uID = TrayIconId;
    data.uFlags = 0;
    return Shell_NotifyIconA(NIM_MODIFY, &data) != FALSE;
}

// The screen under `window`, as a 24-bit bitmap file.
bool CaptureWindow(HWND window, const std::string& path)
{
    RECT rect;
    if (!GetWindowRect(window, &rect))
        return false;
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0)
        return false;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    const DWORD stride = ((static_cast<DWORD>(width) * 3 + 3) / 4) * 4;
    const DWORD imageLength = stride * static_cast<DWORD>(height);
    info.bmiHeader.biSizeImage = imageLength;

    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    bool copied = false;
    if (bitmap != nullptr) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        copied = BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY) != FALSE;
        GdiFlush();
        SelectObject(memory, old);
    }
    bool written = false;
    if (copied) {
        BITMAPFILEHEADER file = {};
        file.bfType = 0x4D42;
        file.bfOffBits = sizeof file + sizeof info.bmiHeader;
        file.bfSize = file.bfOffBits + imageLength;
        if (FILE* out = std::fopen(path.c_str(), "wb")) {
            written = std::fwrite(&file, sizeof file, 1, out) == 1 &&
                      std::fwrite(&info.bmiHeader, sizeof info.bmiHeader, 1, out) == 1 &&
                      std::fwrite(bits, imageLength, 1, out) == 1;
            written = std::fclose(out) == 0 && written;
        }
    }
    if (bitmap != nullptr)
        DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return written;
}

// Brings the main window up the way the tray icon does and lets it paint.
void RestoreAndSettle(HWND main)
{
    ShowWindowAsync(main, SW_RESTORE);
    SetForegroundWindow(main);
    DWORD_PTR result = 0;
    SendMessageTimeoutA(main, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &result);
    RedrawWindow(main, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Sleep(400);
    SendMessageTimeoutA(main, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &result);
}

class UsbPath : public testing::Test {
protected:
    void SetUp() override
    {
        m_exe = Env("PLUGWARDEN_E2E_PROGRAM");
        ASSERT_FALSE(m_exe.empty()) << "PLUGWARDEN_E2E_PROGRAM must name the copied Plugwarden.exe";
        ASSERT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(m_exe.c_str())) << m_exe;
        m_programFolder = m_exe.substr(0, m_exe.find_last_of('\\') + 1);
        ASSERT_TRUE(WaitForDriveType("R:\\", DRIVE_REMOVABLE)) << "drive R: was not set up: type " << GetDriveTypeA("R:\\");
        ASSERT_TRUE(WaitForDriveType("S:\\", DRIVE_REMOVABLE)) << "drive S: was not set up: type " << GetDriveTypeA("S:\\");
        PrepareDrives();
        // Every Windows installation has the policy key that the autorun
        // question writes to; a fresh prefix does not.
        HKEY policies = nullptr;
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, PoliciesExplorerKey, 0, nullptr, 0, KEY_ALL_ACCESS,
                                                 nullptr, &policies, nullptr));
        RegCloseKey(policies);
    }

    // R: holds a visible autorun.inf, a hidden setup.exe and a visible
    // readme.txt; S: only a folder named AUTORUN.INF.
    void PrepareDrives()
    {
        for (const char* name : {"R:\\autorun.inf", "R:\\setup.exe", "R:\\readme.txt"}) {
            SetFileAttributesA(name, FILE_ATTRIBUTE_NORMAL);
            DeleteFileA(name);
        }
        ASSERT_TRUE(WriteTestFile("R:\\autorun.inf", AutorunContent));
        ASSERT_TRUE(WriteTestFile("R:\\setup.exe", SetupContent()));
        ASSERT_TRUE(WriteTestFile("R:\\readme.txt", "Holiday pictures\r\n"));
        ASSERT_TRUE(SetFileAttributesA("R:\\setup.exe", FILE_ATTRIBUTE_HIDDEN)) << GetLastError();
        const DWORD attributes = GetFileAttributesA("R:\\setup.exe");
        ASSERT_NE(0u, attributes & FILE_ATTRIBUTE_HIDDEN)
            << "the hidden attribute did not stick on R:\\setup.exe: 0x" << std::hex << attributes;
        ASSERT_EQ(0u, GetFileAttributesA("R:\\autorun.inf") & FILE_ATTRIBUTE_HIDDEN);
        CreateDirectoryA("S:\\AUTORUN.INF", nullptr);
        const DWORD folder = GetFileAttributesA("S:\\AUTORUN.INF");
        ASSERT_TRUE(folder != INVALID_FILE_ATTRIBUTES && (folder & FILE_ATTRIBUTE_DIRECTORY) != 0)
            << "S:\\AUTORUN.INF is not a folder: 0x" << std::hex << folder;
    }

    // Starts the program and waits until its main window exists and start-up
    // has hidden it again.
    HWND StartAndWaitForMainWindow(RunningProgram& program)
    {
        if (!program.Started()) {
            ADD_FAILURE() << "CreateProcess failed for " << m_exe << ": error " << GetLastError();
            return nullptr;
        }
        HWND main = nullptr;
        const bool asksAutorun = !AutorunSettingPresent();
        if (asksAutorun)
            RegDeleteKeyValueA(HKEY_CURRENT_USER, PoliciesExplorerKey, "NoDriveTypeAutoRun");
        if (!program.WaitUntil([&] { return (main = program.MainWindow()) != nullptr; })) {
            ADD_FAILURE() << "no top-level dialog titled \"" << MainWindowTitle << "\" within " << StepTimeoutMs
                          << " ms; process alive: " << program.Alive() << "; message boxes answered:"
                          << program.AnsweredList();
            return nullptr;
        }
        EXPECT_NE(nullptr, GetPropA(main, AppName)) << "the main window carries no property \"" << AppName << "\"";
        // The window may be found while it is still being created, hidden.
        // Start-up shows it (the drives are inspected) and then hides it with
        // the close command it posted itself: only hidden after shown means
        // start-up is done. The shown phase is short, so it is polled tightly.
        const DWORD start = GetTickCount();
        while (!IsWindowVisible(main) && GetTickCount() - start < StepTimeoutMs) {
            program.AnswerMessageBoxes();
            Sleep(1);
        }
        EXPECT_TRUE(program.WaitUntil([&] { return !IsWindowVisible(main); }))
            << "start-up did not hide the main window into the notification area";
        if (asksAutorun) {
            const auto& answered = program.Answered();
            EXPECT_NE(answered.end(), std::find(answered.begin(), answered.end(), AskDisableAutorun))
                << "the first start did not ask about USB autorun; message boxes answered:" << program.AnsweredList();
            EXPECT_TRUE(AutorunSettingPresent()) << "the autorun question was not recorded in the settings";
            DWORD policy = 0;
            DWORD length = sizeof policy;
            EXPECT_EQ(ERROR_SUCCESS, RegGetValueA(HKEY_CURRENT_USER, PoliciesExplorerKey, "NoDriveTypeAutoRun",
                                                  RRF_RT_REG_DWORD, nullptr, &policy, &length))
                << "answering OK to the autorun question wrote no NoDriveTypeAutoRun policy";
        }
        return main;
    }

    std::string m_exe;
    std::string m_programFolder;
};

TEST_F(UsbPath, ArrivalListsRootThreatsAndDeleteAllQuarantinesThem)
{
    RunningProgram program(m_exe);
    HWND main = StartAndWaitForMainWindow(program);
    ASSERT_NE(nullptr, main);

    // The inspection runs on the window's thread inside the notification, so
    // the rows are normally there when it returns; the count is polled
    // tightly all the same, without looking at message boxes in between.
    HWND shield = ShieldPanelOf(main);
    ASSERT_NE(nullptr, shield) << "no shield panel (a child dialog with list view " << ShieldList << "); "
                               << DescribePanels(main);
    HWND list = GetDlgItem(shield, ShieldList);
    const double sent = NowMs();
    ASSERT_TRUE(SendDeviceArrival(main)) << "WM_DEVICECHANGE was not answered within " << StepTimeoutMs << " ms";
    const double returned = NowMs();
    double shown = 0;
    for (;;) {
        DWORD_PTR count = 0;
        SendMessageTimeoutA(list, LVM_GETITEMCOUNT, 0, 0, SMTO_ABORTIFHUNG, 5000, &count);
        shown = NowMs();
        if (count >= 2 || shown - sent >= StepTimeoutMs)
            break;
        Sleep(1);
    }
    std::vector<Row> rows;
    const bool listed = program.WaitUntil([&] {
        rows = ReadShieldRows(program, main);
        return rows.size() >= 2;
    });

    EXPECT_TRUE(program.WaitUntil([&] { return IsWindowVisible(main) && !IsIconic(main); }))
        << "the main window did not come forward: visible " << IsWindowVisible(main) << ", minimised "
        << IsIconic(main);
    EXPECT_TRUE(ShieldIsTheVisiblePanel(main)) << DescribePanels(main);
    ASSERT_TRUE(listed) << "the shield list did not fill within " << StepTimeoutMs << " ms; " << Describe(rows) << "\n"
                        << DescribePanels(main);
    ASSERT_EQ(2u, rows.size()) << Describe(rows);
    std::set<std::string> threats;
    for (const Row& row : rows) {
        threats.insert(row.threat);
        EXPECT_EQ("Risky", row.state) << Describe(rows);
    }
    EXPECT_EQ((std::set<std::string>{"R:\\autorun.inf", "R:\\setup.exe"}), threats) << Describe(rows);
    EXPECT_EQ("2 threats found", ShieldStatusText(main));

    // The same window's plain round trip, for comparison.
    const int roundTrips = 500;
    const double before = NowMs();
    for (int i = 0; i < roundTrips; ++i) {
        DWORD_PTR result = 0;
        SendMessageTimeoutA(main, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &result);
    }
    const double roundTrip = (NowMs() - before) / roundTrips;
    const double toRows = shown - sent;
    std::printf("notification-to-rows: %.2f ms; plain round trip: %.4f ms; ratio %.0f (the notification itself "
                "returned after %.2f ms)\n",
                toRows, roundTrip, roundTrip > 0 ? toRows / roundTrip : 0.0, returned - sent);

    std::string autorunBefore;
    std::string setupBefore;
    ASSERT_TRUE(ReadTestFile("R:\\autorun.inf", &autorunBefore));
    ASSERT_TRUE(ReadTestFile("R:\\setup.exe", &setupBefore));

    program.Answer(AskDeleteAll, IDOK);
    program.Answer(PleaseWait, IDOK);
    program.Answer(PleaseReplug, IDOK);
    PostMessageA(shield, WM_COMMAND, MAKEWPARAM(ShieldDeleteAll, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(shield, ShieldDeleteAll)));
    const size_t answeredBefore = program.Answered().size();
    ASSERT_TRUE(program.WaitUntil([&] { return program.Answered().size() >= answeredBefore + 3; }))
        << "Delete all did not ask, wait and ask to re-plug; message boxes answered:" << program.AnsweredList();
    EXPECT_EQ((std::vector<std::string>{AskDeleteAll, PleaseWait, PleaseReplug}),
              std::vector<std::string>(program.Answered().begin() + answeredBefore, program.Answered().end()))
        << "message boxes answered:" << program.AnsweredList();

    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA("R:\\autorun.inf")) << "R:\\autorun.inf is still there";
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA("R:\\setup.exe")) << "R:\\setup.exe is still there";
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA("R:\\readme.txt")) << "R:\\readme.txt was removed";
    rows = ReadShieldRows(program, main);
    ASSERT_EQ(2u, rows.size()) << Describe(rows);
    for (const Row& row : rows)
        EXPECT_EQ("Deleted", row.state) << Describe(rows);

    const struct {
        const char* origin;
        const char* quarantineName;
        const std::string& content;
    } quarantined[] = {
        {"R:\\autorun.inf", "autorun.inf.tw", autorunBefore},
        {"R:\\setup.exe", "setup.exe.tw", setupBefore},
    };
    for (const auto& file : quarantined) {
        SCOPED_TRACE(file.quarantineName);
        std::string stored;
        const std::string path = m_programFolder + "quarantine\\" + file.quarantineName;
        ASSERT_TRUE(ReadTestFile(path, &stored)) << "no quarantine file " << path;
        const std::string header = std::string(QuarantineSignature) + file.origin + "\r\n";
        ASSERT_GE(stored.size(), header.size()) << Printable(stored);
        EXPECT_EQ(header, stored.substr(0, header.size())) << Printable(stored.substr(0, 64));
        const std::string content = stored.substr(header.size());
        ASSERT_EQ(file.content.size(), content.size());
        // One shift for every byte, and not zero: the copy is scrambled.
        const unsigned char shift =
            static_cast<unsigned char>(static_cast<unsigned char>(content[0]) - static_cast<unsigned char>(file.content[0]));
        EXPECT_NE(0, shift);
        size_t mismatches = 0;
        for (size_t i = 0; i < content.size(); ++i)
            if (static_cast<unsigned char>(static_cast<unsigned char>(file.content[i]) + shift) !=
                static_cast<unsigned char>(content[i]))
                ++mismatches;
        EXPECT_EQ(0u, mismatches) << "bytes not shifted by " << static_cast<int>(shift);
    }
}

TEST_F(UsbPath, SecondStartRestoresTheFirstCopyAndEnds)
{
    RunningProgram first(m_exe);
    HWND main = StartAndWaitForMainWindow(first);
    ASSERT_NE(nullptr, main);
    // Hidden as in the notification area, also while start-up leaves it shown.
    ShowWindowAsync(main, SW_HIDE);
    ASSERT_TRUE(first.WaitUntil([&] { return !IsWindowVisible(main); }, 5000)) << "the main window could not be hidden";

    RunningProgram second(m_exe);
    ASSERT_TRUE(second.Started()) << "CreateProcess failed: " << GetLastError();
    const double started = NowMs();
    const DWORD secondCopyTimeoutMs = 10000;
    const bool ended = second.WaitForExit(secondCopyTimeoutMs);
    const double lasted = NowMs() - started;
    ASSERT_TRUE(ended) << "the second copy still runs after " << secondCopyTimeoutMs << " ms; its windows: "
                       << TopLevelWindowsOf(second.Id()).size();
    std::printf("second copy ended after %.0f ms\n", lasted);
    EXPECT_TRUE(first.WaitUntil([&] { return IsWindowVisible(main) && !IsIconic(main); }))
        << "the first copy's main window was not restored";
    EXPECT_TRUE(first.Alive());
}

TEST_F(UsbPath, CloseHidesTheWindowAndQuitEndsTheProgram)
{
    RunningProgram program(m_exe);
    HWND main = StartAndWaitForMainWindow(program);
    ASSERT_NE(nullptr, main);
    EXPECT_TRUE(TrayIconExists(main)) << "no notification-area icon after start-up";

    RestoreAndSettle(main);
    ASSERT_TRUE(program.WaitUntil([&] { return IsWindowVisible(main) != FALSE; })) << "the window did not restore";
    PostMessageA(main, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_TRUE(program.WaitUntil([&] { return !IsWindowVisible(main); })) << "the close command did not hide the window";
    Sleep(500);
    EXPECT_TRUE(program.Alive()) << "the close command ended the program";
    EXPECT_TRUE(IsWindow(main)) << "the close command destroyed the main window";
    EXPECT_TRUE(TrayIconExists(main)) << "the notification-area icon went away on close";

    PostMessageA(main, WM_COMMAND, MAKEWPARAM(TrayQuit, 0), 0);
    ASSERT_TRUE(program.WaitForExit(StepTimeoutMs)) << "Quit (command " << TrayQuit << ") did not end the program";
    DWORD exitCode = STILL_ACTIVE;
    GetExitCodeProcess(program.Process(), &exitCode);
    std::printf("exit code after Quit: %lu\n", exitCode);
    EXPECT_FALSE(TrayIconExists(main)) << "the notification-area icon outlived the program";
}

TEST_F(UsbPath, EachTabShowsItsOwnPanel)
{
    const std::string shots = Env("PLUGWARDEN_E2E_SHOTS");
    ASSERT_FALSE(shots.empty()) << "PLUGWARDEN_E2E_SHOTS must name the folder for the pictures";
    RunningProgram program(m_exe);
    HWND main = StartAndWaitForMainWindow(program);
    ASSERT_NE(nullptr, main);
    RestoreAndSettle(main);
    ASSERT_TRUE(program.WaitUntil([&] { return IsWindowVisible(main) != FALSE; })) << "the window did not restore";

    // Left to right on screen; files are named by panel number.
    const struct {
        int tab;
        const char* file;
    } tabs[] = {
        {1000, "panel-1-information"}, {1001, "panel-2-shield"}, {1006, "panel-3-scan"},
        {1010, "panel-5-process"},     {1011, "panel-8-quarantine"}, {1008, "panel-4-tools"},
        {1007, "panel-7-repair"},      {1009, "panel-6-autostart"},
    };
    std::set<HWND> shown;
    for (const auto& tab : tabs) {
        SCOPED_TRACE(tab.file);
        HWND button = GetDlgItem(main, tab.tab);
        EXPECT_NE(nullptr, button) << "no tab button " << tab.tab;
        PostMessageA(main, WM_COMMAND, MAKEWPARAM(tab.tab, BN_CLICKED), reinterpret_cast<LPARAM>(button));
        std::vector<HWND> visible;
        const bool one = program.WaitUntil([&] {
            visible = VisiblePanelsOf(main);
            return visible.size() == 1 && shown.count(visible[0]) == 0;
        }, 5000);
        EXPECT_TRUE(one) << "tab " << tab.tab << " did not show a panel of its own; " << DescribePanels(main);
        if (one) {
            shown.insert(visible[0]);
            EXPECT_EQ(tab.tab == TabShield, IsShieldPanel(visible[0])) << "tab " << tab.tab << " and the shield panel";
        }
        RestoreAndSettle(main);
        EXPECT_TRUE(CaptureWindow(main, shots + "\\" + tab.file + ".bmp")) << "screen capture failed";
    }
    EXPECT_EQ(8u, shown.size());
}

} // namespace
