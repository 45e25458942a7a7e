#include "ControlsTestDialog.h"
#include "ControlsTestRes.h"

#include "controls/LinkLabel.h"
#include "controls/ShellOpen.h"
#include "framework/MessageBox.h"
#include "framework/Window.h"

#include "support/Tooltip.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <string>
#include <vector>

namespace {

TEST(LinkLabelRules, FallbackCommandLineFromTheRegisteredPageCommand)
{
    struct Row {
        const char* registered;
        const char* expected;
    };
    const char* address = "http://www.example.test/";
    const Row rows[] = {
        {"\"C:\\Program Files\\Browser\\browse.exe\" \"%1\"",
         "\"C:\\Program Files\\Browser\\browse.exe\"  http://www.example.test/"},
        {"\"C:\\Program Files\\Browser\\browse.exe\" \"%1\" -nohome",
         "\"C:\\Program Files\\Browser\\browse.exe\"  http://www.example.test/"},
        {"C:\\Browser\\browse.exe %1", "C:\\Browser\\browse.exe  http://www.example.test/"},
        {"C:\\Browser\\browse.exe -new %1 -x", "C:\\Browser\\browse.exe -new  http://www.example.test/"},
        {"\"C:\\Browser\\browse.exe\" -nohome", "\"C:\\Browser\\browse.exe\" -nohome http://www.example.test/"},
        {"C:\\Browser\\browse.exe", "C:\\Browser\\browse.exe http://www.example.test/"},
        {"\"%1\"", ""},
        {"  %1", ""},
        {"", ""},
    };
    for (const Row& row : rows)
        EXPECT_EQ(row.expected, BuildFallbackCommandLine(row.registered, address)) << row.registered;
}

TEST(LinkLabelRules, FitsRectangleToText)
{
    struct Row {
        const char* name;
        RECT window;
        RECT client;
        SIZE text;
        DWORD style;
        RECT expected;
    };
    const RECT w = {10, 20, 210, 60};
    const RECT c = {0, 0, 198, 38}; // one pixel of border all round
    const Row rows[] = {
        {"left", w, c, {50, 13}, SS_LEFT, {10, 20, 62, 35}},
        {"centred", w, c, {50, 13}, SS_CENTER, {84, 20, 136, 35}},
        {"right", w, c, {50, 13}, SS_RIGHT, {158, 20, 210, 35}},
        {"centred vertically", w, c, {50, 13}, SS_LEFT | SS_CENTERIMAGE, {10, 32, 62, 48}},
        {"text larger, halves toward zero", {0, 0, 20, 10}, {0, 0, 20, 10}, {31, 13}, SS_CENTER | SS_CENTERIMAGE,
         {-5, -1, 25, 11}},
    };
    for (const Row& row : rows)
        EXPECT_EQ(RectText(row.expected), RectText(FitLabelRect(row.window, row.client, row.text, row.style))) << row.name;
}

TEST(LinkLabelRules, ErrorTextNamesTheReason)
{
    struct Row {
        INT_PTR code;
        const char* reason;
    };
    const Row rows[] = {
        {0, "The operating system is out\nof memory or resources."},
        {2, "The specified file was not found."},
        {3, "The specified path was not found."},
        {5, "The operating system denied\naccess to the specified file."},
        {8, "There was not enough memory to complete the operation."},
        {11, "The .EXE file is invalid\n(non-Win32 .EXE or error in .EXE image)."},
        {26, "A sharing violation occurred. "},
        {27, "The filename association is\nincomplete or invalid."},
        {28, "The DDE transaction could not\nbe completed because the request timed out."},
        {29, "The DDE transaction failed."},
        {30, "The DDE transaction could not\nbe completed because other DDE transactions\nwere being processed."},
        {31, "There is no application associated\nwith the given filename extension."},
        {32, "The specified dynamic-link library was not found."},
        {4, "Unknown Error (4) occurred."},
        {33, "Unknown Error (33) occurred."},
    };
    for (const Row& row : rows) {
        std::string shown;
        UINT type = 0;
        MessageBoxAnswerer previous = SetMessageBoxAnswerer([&](const std::string& text, UINT t) {
            shown = text;
            type = t;
            return IDOK;
        });
        CLinkLabel::ShowOpenError(row.code);
        SetMessageBoxAnswerer(previous);
        EXPECT_EQ(std::string("Unable to open hyperlink:\n\n") + row.reason, shown) << row.code;
        EXPECT_EQ(UINT(MB_OK | MB_ICONEXCLAMATION), type) << row.code;
    }
}

std::string TestProgramPath()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, sizeof path);
    return path;
}

TEST(LinkLabelRules, CopiesCursorFromAFile)
{
    struct Row {
        std::string path;
        UINT id;
        bool found;
    };
    const Row rows[] = {
        {TestProgramPath(), IDC_TEST_HAND, true},
        {TestProgramPath(), IDB_TEST_MISSING, false},
        {"C:\\no such folder\\winhlp32.exe", IDC_TEST_HAND, false},
    };
    for (const Row& row : rows) {
        HCURSOR cursor = CopyCursorFromFile(row.path, row.id);
        EXPECT_EQ(row.found, cursor != nullptr) << row.path << " " << row.id;
        if (cursor == nullptr)
            continue;
        ICONINFO info = {};
        ASSERT_TRUE(GetIconInfo(cursor, &info));
        EXPECT_EQ(5u, info.xHotspot);
        DeleteObject(info.hbmMask);
        if (info.hbmColor != nullptr)
            DeleteObject(info.hbmColor);
        DestroyCursor(cursor);
    }
}

bool IsUnderlined(HWND control)
{
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0));
    LOGFONTA description = {};
    GetObjectA(font, sizeof description, &description);
    return description.lfUnderline != 0;
}

class LinkLabelTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(ShowTestDialog(dialog));
        RECT r;
        GetWindowRect(GetDlgItem(dialog, IDC_TEST_MAIL), &r);
        templateWidth = r.right - r.left;
        ASSERT_TRUE(label.SubclassDlgItem(IDC_TEST_MAIL, dialog));
        SetShellOpenHook([this](const std::string& address, int show) {
            opened.push_back(address + " " + std::to_string(show));
            return shellResult;
        });
        SetCommandRunHook([this](const std::string& commandLine, int) {
            run.push_back(commandLine);
            return runResult;
        });
        SetMessageBoxAnswerer([this](const std::string& text, UINT) {
            boxes.push_back(text);
            return IDOK;
        });
    }
    void TearDown() override
    {
        SetShellOpenHook({});
        SetCommandRunHook({});
        SetMessageBoxAnswerer({});
    }

    // The text colour the label picks for its parent's colour request.
    COLORREF TextColour()
    {
        CCanvas canvas(4, 4);
        SetTextColor(canvas.Dc(), RGB(1, 2, 3));
        SetBkMode(canvas.Dc(), OPAQUE);
        const LRESULT brush = SendMessageA(dialog, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(canvas.Dc()),
                                           reinterpret_cast<LPARAM>(label.GetSafeHwnd()));
        EXPECT_EQ(reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH)), brush);
        EXPECT_EQ(TRANSPARENT, GetBkMode(canvas.Dc()));
        return GetTextColor(canvas.Dc());
    }
    void PointAt()
    {
        const POINT centre = ScreenCentre(label);
        SetCursorPos(centre.x, centre.y);
        // Let the platform settle on the new position before it moves again.
        PumpMessages(50);
        SendMessageA(label, WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
    }
    // Moves the real pointer away and waits for the hover timer to notice.
    bool LeaveAndWait()
    {
        PumpMessages(2000, [this] {
            SetCursorPos(5, 5);
            return !label.IsPointerOver();
        });
        return !label.IsPointerOver();
    }
    void Click() { SendMessageA(label, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2)); }

    CControlsTestDialog dialog;
    CLinkLabel& label = dialog.mail;
    LONG templateWidth = 0;
    INT_PTR shellResult = 42;
    UINT runResult = 0;
    std::vector<std::string> opened;
    std::vector<std::string> run;
    std::vector<std::string> boxes;
};

TEST_F(LinkLabelTest, BindingTakesTheTextAsAddressAndFitsIt)
{
    EXPECT_EQ("support@example.test", label.Address());
    EXPECT_NE(0, GetWindowLongA(label, GWL_STYLE) & SS_NOTIFY);
    ASSERT_NE(nullptr, label.TooltipWindow());
    EXPECT_EQ("support@example.test", TooltipText(label.TooltipWindow(), label));

    HFONT font = reinterpret_cast<HFONT>(SendMessageA(label, WM_GETFONT, 0, 0));
    LOGFONTA description = {};
    GetObjectA(font, sizeof description, &description);
    description.lfUnderline = TRUE;
    HFONT underlined = CreateFontIndirectA(&description);
    HDC dc = GetDC(label);
    HGDIOBJ old = SelectObject(dc, underlined);
    RECT text = {0, 0, 0, 0};
    DrawTextA(dc, "support@example.test", -1, &text, DT_CALCRECT);
    SelectObject(dc, old);
    ReleaseDC(label, dc);
    DeleteObject(underlined);

    RECT client;
    GetClientRect(label, &client);
    EXPECT_LT(client.right, templateWidth);
    EXPECT_EQ(text.right, client.right);
    EXPECT_EQ(text.bottom, client.bottom);
}

TEST_F(LinkLabelTest, MailAddressKeepsTheShownTextAndOpensTheMailAddress)
{
    label.SetLinkAddress("mailto:support@example.test");
    EXPECT_EQ("support@example.test", GetWindowTextString(label));
    EXPECT_EQ("mailto:support@example.test", TooltipText(label.TooltipWindow(), label));
    Click();
    EXPECT_EQ(std::vector<std::string>{"mailto:support@example.test " + std::to_string(SW_SHOW)}, opened);
    EXPECT_TRUE(boxes.empty());
    EXPECT_TRUE(dialog.calls.empty()) << "the parent heard of the click: " << dialog.calls.front();
}

TEST_F(LinkLabelTest, EmptyLabelShowsAnAddressSetBeforeBinding)
{
    dialog.emptyLink.SetLinkAddress("http://www.example.test/");
    ASSERT_TRUE(dialog.emptyLink.SubclassDlgItem(IDC_TEST_EMPTY_LINK, dialog));
    EXPECT_EQ("http://www.example.test/", GetWindowTextString(dialog.emptyLink));
    EXPECT_EQ("http://www.example.test/", TooltipText(dialog.emptyLink.TooltipWindow(), dialog.emptyLink));
}

TEST_F(LinkLabelTest, ColourFollowsPointerAndLastClick)
{
    EXPECT_EQ(CLinkLabel::LinkColour, TextColour());
    PointAt();
    EXPECT_EQ(CLinkLabel::HoverColour, TextColour());
    Click();
    EXPECT_TRUE(label.IsVisited());
    EXPECT_EQ(CLinkLabel::VisitedColour, TextColour());
    PointAt();
    EXPECT_EQ(CLinkLabel::HoverColour, TextColour());
    ASSERT_TRUE(LeaveAndWait());
    EXPECT_EQ(CLinkLabel::VisitedColour, TextColour());

    shellResult = SE_ERR_NOASSOC;
    runResult = SE_ERR_NOASSOC;
    Click();
    EXPECT_FALSE(label.IsVisited());
    EXPECT_EQ(CLinkLabel::LinkColour, TextColour());
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ("Unable to open hyperlink:\n\nThere is no application associated\nwith the given filename extension.",
              boxes[0]);
}

TEST_F(LinkLabelTest, UnderlineFollowsTheMode)
{
    struct Row {
        int mode;
        bool afterSet;
        bool whilePointedAt;
        bool afterLeaving;
    };
    const Row rows[] = {
        {CLinkLabel::UnderlineHover, false, true, false},
        {CLinkLabel::UnderlineNever, false, false, false},
        {CLinkLabel::UnderlineAlways, true, true, true},
        {CLinkLabel::UnderlineHover, false, true, false},
    };
    for (const Row& row : rows) {
        label.SetUnderlineMode(row.mode);
        EXPECT_EQ(row.afterSet, IsUnderlined(label)) << row.mode;
        PointAt();
        EXPECT_EQ(row.whilePointedAt, IsUnderlined(label)) << row.mode;
        ASSERT_TRUE(LeaveAndWait()) << row.mode;
        EXPECT_EQ(row.afterLeaving, IsUnderlined(label)) << row.mode;
    }
}

TEST_F(LinkLabelTest, HoverLastsWhileThePointerStaysOver)
{
    PointAt();
    PumpMessages(400);
    EXPECT_TRUE(label.IsPointerOver());
    EXPECT_EQ(CLinkLabel::HoverColour, TextColour());
    const DWORD start = GetTickCount();
    ASSERT_TRUE(LeaveAndWait());
    EXPECT_LT(GetTickCount() - start, 1000u) << "the hover outlived the pointer";
}

TEST_F(LinkLabelTest, SetCursorShowsTheHandCursorWhenThereIsOne)
{
    SetCursor(LoadCursor(nullptr, IDC_ARROW));
    const LRESULT handled = SendMessageA(label, WM_SETCURSOR, reinterpret_cast<WPARAM>(label.GetSafeHwnd()),
                                         MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(label.HandCursor() != nullptr, handled != FALSE);
    EXPECT_EQ(label.HandCursor() != nullptr ? label.HandCursor() : LoadCursor(nullptr, IDC_ARROW), GetCursor());
}

// Points the ".htm" class at a test class for the life of the object.
class CPageClassOverride {
public:
    explicit CPageClassOverride(const char* command)
    {
        HKEY key = nullptr;
        if (RegOpenKeyExA(HKEY_CLASSES_ROOT, ".htm", 0, KEY_QUERY_VALUE, &key) == ERROR_SUCCESS) {
            char value[260] = {};
            DWORD size = sizeof value;
            m_hadClass = RegQueryValueExA(key, nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(value), &size) ==
                         ERROR_SUCCESS;
            m_oldClass = value;
            RegCloseKey(key);
        }
        RegSetValueA(HKEY_CLASSES_ROOT, ".htm", REG_SZ, ClassName, 0);
        if (command != nullptr)
            RegSetValueA(HKEY_CLASSES_ROOT, "Plugwarden.TestPage\\shell\\open\\command", REG_SZ, command, 0);
    }
    ~CPageClassOverride()
    {
        RegDeleteTreeA(HKEY_CLASSES_ROOT, ClassName);
        if (m_hadClass)
            RegSetValueA(HKEY_CLASSES_ROOT, ".htm", REG_SZ, m_oldClass.c_str(), 0);
        else
            RegDeleteTreeA(HKEY_CLASSES_ROOT, ".htm");
    }
    CPageClassOverride(const CPageClassOverride&) = delete;
    CPageClassOverride& operator=(const CPageClassOverride&) = delete;

    static constexpr const char* ClassName = "Plugwarden.TestPage";

private:
    bool m_hadClass = false;
    std::string m_oldClass;
};

TEST_F(LinkLabelTest, OpenAddressFallsBackToThePageCommand)
{
    struct Row {
        const char* name;
        const char* command; // null: the class has no command key
        INT_PTR shell;
        UINT fallback;
        std::vector<std::string> expectedRun;
        INT_PTR expectedResult;
    };
    const Row rows[] = {
        {"shell succeeds", "\"C:\\B\\b.exe\" \"%1\"", 42, 33, {}, 42},
        {"quoted placeholder", "\"C:\\B\\b.exe\" \"%1\" -nohome", SE_ERR_NOASSOC, 33,
         {"\"C:\\B\\b.exe\"  http://www.example.test/"}, 33},
        {"fallback fails too", "C:\\B\\b.exe %1", SE_ERR_NOASSOC, 2, {"C:\\B\\b.exe  http://www.example.test/"}, 2},
        {"no command", nullptr, SE_ERR_ACCESSDENIED, 33, {}, SE_ERR_ACCESSDENIED},
    };
    for (const Row& row : rows) {
        CPageClassOverride page(row.command);
        run.clear();
        shellResult = row.shell;
        runResult = row.fallback;
        const INT_PTR result = CLinkLabel::OpenAddress("http://www.example.test/", SW_SHOW);
        EXPECT_EQ(row.expectedResult, result) << row.name;
        EXPECT_EQ(row.expectedRun, run) << row.name;
    }
}

} // namespace
