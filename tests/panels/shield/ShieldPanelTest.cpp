#include "drives/DrivesRes.h"
#include "framework/MessageBox.h"
#include "framework/Strings.h"
#include "panels/usb/ShieldPanel.h"
#include "panels/usb/ShieldPanelRes.h"
#include "quarantine/QuarantineStore.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

// Answers the panel's message boxes from whichever thread shows them and
// records what was asked.
class Answers {
public:
    explicit Answers(int answer = IDOK) : m_answer(answer)
    {
        InitializeCriticalSection(&m_lock);
        m_finished = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        SetMessageBoxAnswerer([this](const std::string& text, UINT) {
            EnterCriticalSection(&m_lock);
            m_texts.push_back(text);
            LeaveCriticalSection(&m_lock);
            if (text.find("plug it into the computer again") != std::string::npos)
                SetEvent(m_finished);
            return m_answer;
        });
    }
    ~Answers()
    {
        SetMessageBoxAnswerer(nullptr);
        CloseHandle(m_finished);
        DeleteCriticalSection(&m_lock);
    }
    std::vector<std::string> Texts()
    {
        EnterCriticalSection(&m_lock);
        std::vector<std::string> texts = m_texts;
        LeaveCriticalSection(&m_lock);
        return texts;
    }
    // Pumps the UI thread's messages until a delete-all worker has finished.
    bool WaitForDeleteAll()
    {
        const DWORD deadline = GetTickCount() + 20000;
        while (GetTickCount() < deadline) {
            if (MsgWaitForMultipleObjects(1, &m_finished, FALSE, 100, QS_ALLINPUT) == WAIT_OBJECT_0)
                return true;
            MSG msg;
            while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
        }
        return false;
    }

private:
    int m_answer;
    CRITICAL_SECTION m_lock;
    HANDLE m_finished;
    std::vector<std::string> m_texts;
};

class ShieldPanelTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(GetQuarantineFolder(m_quarantine));
        RemoveTree(m_quarantine);
        m_host = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 800, 600, nullptr, nullptr, nullptr, nullptr);
        ASSERT_TRUE(m_panel.Create(m_host));
    }
    void TearDown() override
    {
        RemoveTree(m_quarantine);
        DestroyWindow(m_host);
    }

    std::vector<std::string> Rows(int column) const
    {
        std::vector<std::string> rows;
        HWND list = m_panel.ThreatList();
        for (int row = 0; row < ListView_GetItemCount(list); ++row) {
            char text[600] = {};
            ListView_GetItemText(list, row, column, text, sizeof text);
            rows.push_back(text);
        }
        return rows;
    }
    std::string Status() const { return m_panel.GetItemText(IDC_SHIELD_STATUS); }

    char m_quarantine[MAX_PATH] = {};
    HWND m_host = nullptr;
    CShieldPanel m_panel;
};

TEST_F(ShieldPanelTest, ListsRootThreatsAsRisky)
{
    TempFolder drive;
    ASSERT_TRUE(WriteTestFile(drive / "autorun.inf", "[autorun]\r\nopen=setup.exe\r\n"));
    ASSERT_TRUE(WriteTestFile(drive / "setup.exe", "MZ", FILE_ATTRIBUTE_HIDDEN));
    ASSERT_TRUE(WriteTestFile(drive / "readme.txt", "hello"));
    ASSERT_TRUE(WriteTestFile(drive / "visible.exe", "MZ"));
    ASSERT_TRUE(CreateDirectoryA((drive / "docs").c_str(), nullptr));
    ASSERT_TRUE(WriteTestFile(drive / "docs\\hidden.exe", "MZ", FILE_ATTRIBUTE_HIDDEN)); // not in the root

    m_panel.InspectRoots({drive.Path()});
    std::vector<std::string> paths = Rows(0);
    std::sort(paths.begin(), paths.end());
    const std::vector<std::string> expected = {drive / "autorun.inf", drive / "setup.exe"};
    EXPECT_EQ(expected, paths);
    EXPECT_EQ((std::vector<std::string>{"Risky", "Risky"}), Rows(1));
    EXPECT_EQ("2 threats found", Status());
    EXPECT_TRUE(IsWindowEnabled(m_panel.GetDlgItem(IDC_SHIELD_DELETE)));
    EXPECT_TRUE(IsWindowEnabled(m_panel.GetDlgItem(IDC_SHIELD_DELETE_ALL)));
}

TEST_F(ShieldPanelTest, ImmunityFolderIsNoThreat)
{
    TempFolder drive;
    ASSERT_TRUE(CreateDirectoryA((drive / "AUTORUN.INF").c_str(), nullptr));
    SetFileAttributesA((drive / "AUTORUN.INF").c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_DIRECTORY);
    m_panel.InspectRoots({drive.Path()});
    EXPECT_TRUE(Rows(0).empty());
    EXPECT_EQ("No threat found", Status());
}

TEST_F(ShieldPanelTest, DrivesAreListedInTheOrderGivenWithOneSummary)
{
    TempFolder first, second;
    ASSERT_TRUE(WriteTestFile(second / "b.inf", ""));
    ASSERT_TRUE(WriteTestFile(first / "a.inf", ""));
    m_panel.InspectRoots({first.Path(), second.Path(), "Q:\\does-not-exist\\"});
    EXPECT_EQ((std::vector<std::string>{first / "a.inf", second / "b.inf"}), Rows(0));
    EXPECT_EQ("2 threats found", Status());
}

TEST_F(ShieldPanelTest, InspectDrivesWithoutLettersDoesNothing)
{
    const BYTE letters[] = {'E'};
    EXPECT_FALSE(m_panel.InspectDrives(letters, 0));
    EXPECT_FALSE(m_panel.InspectDrives(nullptr, 1));
    EXPECT_EQ("", Status());
}

TEST_F(ShieldPanelTest, LongNamesAreListedWithTheirRealPath)
{
    // A short root, so that a name near the file system's limit still fits.
    const std::string root = "C:\\pwshield\\";
    RemoveTree(root);
    ASSERT_TRUE(CreateDirectoryA(root.c_str(), nullptr));
    const std::string path = root + std::string(240, 'n') + ".inf";
    ASSERT_TRUE(WriteTestFile(path, ""));
    m_panel.InspectRoots({root});
    EXPECT_EQ(std::vector<std::string>{path}, Rows(0));
    RemoveTree(root);
}

TEST_F(ShieldPanelTest, DeleteAllCancelledChangesNothing)
{
    TempFolder drive;
    ASSERT_TRUE(WriteTestFile(drive / "autorun.inf", "x"));
    m_panel.InspectRoots({drive.Path()});
    Answers answers(IDCANCEL);
    SendMessageA(m_panel, WM_COMMAND, MAKEWPARAM(IDC_SHIELD_DELETE_ALL, BN_CLICKED), 0);
    EXPECT_EQ(std::vector<std::string>{"Do you want to delete all?"}, answers.Texts());
    EXPECT_EQ(std::vector<std::string>{"Risky"}, Rows(1));
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((drive / "autorun.inf").c_str()));
}

TEST_F(ShieldPanelTest, DeleteAllQuarantinesEveryRow)
{
    TempFolder drive;
    ASSERT_TRUE(WriteTestFile(drive / "autorun.inf", "[autorun]"));
    ASSERT_TRUE(WriteTestFile(drive / "setup.exe", "MZ", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY));
    ASSERT_TRUE(WriteTestFile(drive / "held.inf", "held"));
    m_panel.InspectRoots({drive.Path()});
    ASSERT_EQ(3u, Rows(0).size());
    // A file another handle holds open cannot be quarantined.
    HANDLE held = CreateFileA((drive / "held.inf").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);

    Answers answers(IDOK);
    SendMessageA(m_panel, WM_COMMAND, MAKEWPARAM(IDC_SHIELD_DELETE_ALL, BN_CLICKED), 0);
    ASSERT_TRUE(answers.WaitForDeleteAll());
    CloseHandle(held);

    const std::vector<std::string> asked = {"Do you want to delete all?", "Please wait for a while",
                                            "Please remove your USB disk and plug it into the computer again"};
    EXPECT_EQ(asked, answers.Texts());
    const std::vector<std::string> paths = Rows(0);
    const std::vector<std::string> states = Rows(1);
    for (size_t row = 0; row < paths.size(); ++row) {
        const bool isHeld = paths[row] == drive / "held.inf";
        EXPECT_EQ(isHeld ? "Delete failed" : "Deleted", states[row]) << paths[row];
        EXPECT_EQ(isHeld, GetFileAttributesA(paths[row].c_str()) != INVALID_FILE_ATTRIBUTES) << paths[row];
    }
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((std::string(m_quarantine) + "setup.exe.tw").c_str()));
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((std::string(m_quarantine) + "autorun.inf.tw").c_str()));
    EXPECT_TRUE(IsWindowEnabled(m_panel.GetDlgItem(IDC_SHIELD_DELETE_ALL)));
}

TEST_F(ShieldPanelTest, RowsOfAnEmptiedListAreNotUpdatedByALateWorker)
{
    TempFolder drive;
    ASSERT_TRUE(WriteTestFile(drive / "autorun.inf", "x"));
    m_panel.InspectRoots({drive.Path()});
    Answers answers(IDOK);
    SendMessageA(m_panel, WM_COMMAND, MAKEWPARAM(IDC_SHIELD_DELETE_ALL, BN_CLICKED), 0);
    // A new device notification empties and refills the list before the worker reports.
    m_panel.EmptyThreatList();
    TempFolder other;
    ASSERT_TRUE(WriteTestFile(other / "other.inf", "y"));
    m_panel.InspectRoots({other.Path()});
    ASSERT_TRUE(answers.WaitForDeleteAll());
    EXPECT_EQ(std::vector<std::string>{other / "other.inf"}, Rows(0));
    EXPECT_EQ(std::vector<std::string>{"Risky"}, Rows(1));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((drive / "autorun.inf").c_str()));
}

TEST_F(ShieldPanelTest, DeleteOneRow)
{
    TempFolder drive;
    ASSERT_TRUE(WriteTestFile(drive / "autorun.inf", "x"));
    ASSERT_TRUE(WriteTestFile(drive / "gone.inf", "y"));
    m_panel.InspectRoots({drive.Path()});
    HWND list = m_panel.ThreatList();
    const std::vector<std::string> paths = Rows(0);
    const auto goneRow = static_cast<int>(paths[0] == drive / "gone.inf" ? 0 : 1);
    {
        Answers answers(IDOK);
        SendMessageA(m_panel, WM_COMMAND, MAKEWPARAM(IDC_SHIELD_DELETE, BN_CLICKED), 0);
        EXPECT_EQ(std::vector<std::string>{"Please select a file"}, answers.Texts());
    }
    // A file that vanished counts as deleted, without a quarantine copy.
    ASSERT_TRUE(DeleteFileA((drive / "gone.inf").c_str()));
    ListView_SetItemState(list, goneRow, LVIS_SELECTED, LVIS_SELECTED);
    {
        Answers answers(IDOK);
        SendMessageA(m_panel, WM_COMMAND, MAKEWPARAM(IDC_SHIELD_DELETE, BN_CLICKED), 0);
        EXPECT_EQ(std::vector<std::string>{"Delete: " + (drive / "gone.inf") + "?"}, answers.Texts());
    }
    EXPECT_EQ("Deleted", Rows(1)[goneRow]);
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((std::string(m_quarantine) + "gone.inf.tw").c_str()));

    ListView_SetItemState(list, goneRow, 0, LVIS_SELECTED);
    ListView_SetItemState(list, 1 - goneRow, LVIS_SELECTED, LVIS_SELECTED);
    {
        Answers answers(IDOK);
        SendMessageA(m_panel, WM_COMMAND, MAKEWPARAM(IDC_SHIELD_DELETE, BN_CLICKED), 0);
        const std::vector<std::string> asked = {"Delete: " + (drive / "autorun.inf") + "?", "Please wait for a while"};
        EXPECT_EQ(asked, answers.Texts());
    }
    EXPECT_EQ("Deleted", Rows(1)[1 - goneRow]);
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((drive / "autorun.inf").c_str()));
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((std::string(m_quarantine) + "autorun.inf.tw").c_str()));
}

TEST_F(ShieldPanelTest, DeleteOnAnEmptyListSaysNoThreat)
{
    for (UINT command : {IDC_SHIELD_DELETE, IDC_SHIELD_DELETE_ALL}) {
        Answers answers(IDOK);
        SendMessageA(m_panel, WM_COMMAND, MAKEWPARAM(command, BN_CLICKED), 0);
        EXPECT_EQ(std::vector<std::string>{"No threat found"}, answers.Texts()) << command;
    }
}

} // namespace
