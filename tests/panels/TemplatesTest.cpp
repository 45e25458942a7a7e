// The main program's panel and pop-up templates, its tray menu and its string
// tables, read back from the program's own resources.
#include "framework/Dialog.h"
#include "framework/Strings.h"
#include "panels/system/AutostartPanel.h"
#include "panels/system/ProcessPanel.h"
#include "panels/system/RepairPanel.h"
#include "panels/usb/ScanPanel.h"
#include "quarantine/QuarantinePanel.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

namespace {

// What a control is, as the window it becomes: its class and the style bits
// (under a mask) that make it that kind.
enum class Kind { Push, DefPush, Group, Text, Centred, Link, Icon, Edit, List, Animation };

struct KindInfo {
    const char* className;
    DWORD mask;
    DWORD value;
};

KindInfo InfoOf(Kind kind)
{
    switch (kind) {
    case Kind::Push: return {"Button", BS_TYPEMASK, BS_PUSHBUTTON};
    case Kind::DefPush: return {"Button", BS_TYPEMASK, BS_DEFPUSHBUTTON};
    case Kind::Group: return {"Button", BS_TYPEMASK, BS_GROUPBOX};
    case Kind::Text: return {"Static", SS_TYPEMASK | SS_NOTIFY, SS_LEFT};
    case Kind::Centred: return {"Static", SS_TYPEMASK, SS_CENTER};
    case Kind::Link: return {"Static", SS_TYPEMASK | SS_NOTIFY, SS_LEFT | SS_NOTIFY};
    case Kind::Icon: return {"Static", SS_TYPEMASK | SS_CENTERIMAGE, SS_ICON | SS_CENTERIMAGE};
    case Kind::Edit:
        return {"Edit", ES_MULTILINE | ES_READONLY | WS_VSCROLL, ES_MULTILINE | ES_READONLY | WS_VSCROLL};
    case Kind::List:
        return {WC_LISTVIEWA, LVS_TYPEMASK | LVS_SINGLESEL | LVS_SHOWSELALWAYS,
                LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS};
    case Kind::Animation: return {ANIMATE_CLASSA, ACS_TRANSPARENT, ACS_TRANSPARENT};
    }
    return {"", 0, 0};
}

struct TemplateRow {
    UINT id;
    bool panel;
    short cx, cy;
    const char* caption;
};

const TemplateRow Templates[] = {
    {129, true, 377, 209, ""},
    {150, true, 377, 209, ""},
    {151, true, 377, 209, ""},
    {152, true, 377, 209, ""},
    {153, true, 377, 209, ""},
    {154, true, 377, 209, ""},
    {155, true, 377, 209, ""},
    {159, true, 377, 209, ""},
    {165, false, 198, 46, "Thumbfort"},
    {156, false, 158, 100, "Plugwarden Web Check"},
};

constexpr int None = -1;
constexpr char Hyphens[] = "-------------------------------";
static_assert(sizeof Hyphens == 31 + 1, "a row of 31 hyphens");

struct ControlRow {
    UINT dialog;
    int id;
    Kind kind;
    int x, y, cx, cy;
    const char* text; // null: not compared (icons)
};

// Every control of every template, in template order.
const ControlRow Controls[] = {
    // Information panel.
    {129, None, Kind::Text, 16, 27, 79, 8, "Help:"},
    {129, 1005, Kind::Push, 101, 16, 46, 31, ""},
    {129, 1002, Kind::Push, 100, 54, 50, 29, ""},
    {129, None, Kind::Text, 16, 64, 76, 9, "Resident Shield state:"},
    {129, None, Kind::Text, 16, 107, 86, 8, "Virus Signature Database:"},
    {129, None, Kind::Text, 113, 108, 37, 8, "No need"},
    {129, None, Kind::Text, 16, 124, 30, 8, "Version:"},
    {129, None, Kind::Text, 113, 125, 38, 8, "5.0.0.80"},
    {129, 1049, Kind::Link, 16, 168, 102, 8, "www.tarnwick.com"},
    {129, 1050, Kind::Link, 16, 186, 88, 8, "support@tarnwick.com"},
    {129, 1053, Kind::Edit, 211, 26, 150, 93, ""},
    {129, 1061, Kind::Push, 220, 125, 135, 69, ""},
    // Process shield.
    {150, 1033, Kind::List, 4, 35, 366, 71, ""},
    {150, 1003, Kind::Push, 304, 113, 64, 31, "Delete"},
    {150, None, Kind::Group, 0, 148, 377, 54, "ProcSentry"},
    {150, 1056, Kind::Centred, 102, 15, 160, 13, ""},
    {150, None, Kind::Text, 4, 163, 358, 30,
     "ProcSentry monitors potentially unsafe actions performed by applications, and indicates how potentially "
     "dangerous the detected object is. It closes the window of vulnerability left open by other products' "
     "reactive, signature-based responses."},
    // Quarantine.
    {151, 1057, Kind::List, 5, 18, 365, 70, ""},
    {151, 1002, Kind::Push, 156, 96, 50, 31, "Refresh"},
    {151, 1003, Kind::Push, 238, 94, 50, 31, "Restore"},
    {151, 1004, Kind::Push, 320, 96, 50, 31, "Empty"},
    {151, None, Kind::Group, 0, 136, 377, 72, "Quarantine"},
    {151, None, Kind::Text, 6, 149, 341, 8,
     "All unsafe files that you deleted are encrypted and moved to a quarantine directory."},
    {151, None, Kind::Text, 6, 161, 365, 8,
     "'Origin' is path of the original file. 'Quarantine' is path of the quarantined file."},
    {151, None, Kind::Text, 6, 173, 364, 8,
     "Press the button 'Restore', and restore the quarantined file to the original file."},
    {151, None, Kind::Text, 6, 185, 363, 8,
     "Press the button 'Empty', and delete all quarantined files thoroughly. This operation cannot be undone."},
    // Drive scan.
    {152, 1024, Kind::List, 5, 41, 364, 70, ""},
    {152, 1025, Kind::Centred, 100, 19, 169, 14, ""},
    {152, 1029, Kind::Animation, 26, 13, 20, 20, ""},
    {152, 1014, Kind::Push, 16, 120, 59, 33, "Scan"},
    {152, 1015, Kind::Push, 110, 119, 59, 33, "Stop"},
    {152, 1026, Kind::Push, 206, 121, 59, 32, "Delete"},
    {152, 1027, Kind::Push, 304, 120, 59, 32, "Delete all"},
    {152, None, Kind::Group, 0, 160, 377, 44, "PlugSweep"},
    {152, None, Kind::Text, 6, 172, 309, 9, "PlugSweep can examine your USB drive thoroughly."},
    {152, None, Kind::Text, 6, 186, 249, 8, "Files detected as suspicious are potentially unsafe."},
    // Resident shield.
    {153, 1015, Kind::List, 4, 38, 366, 72, ""},
    {153, 1002, Kind::Push, 229, 113, 59, 31, "Delete"},
    {153, 1016, Kind::Push, 304, 113, 59, 31, "Delete all"},
    {153, 1017, Kind::Centred, 102, 13, 160, 13, ""},
    {153, None, Kind::Group, 0, 145, 377, 60, "PlugSentry"},
    {153, None, Kind::Text, 5, 165, 209, 25,
     "PlugSentry monitors in real time and protects your computer against all threats that can take over your "
     "computer via USB drive."},
    {153, None, Kind::Icon, 308, 159, 20, 20, nullptr},
    {153, None, Kind::Icon, 240, 167, 20, 20, nullptr},
    {153, None, Kind::Icon, 258, 165, 20, 20, nullptr},
    {153, None, Kind::Text, 277, 176, 46, 8, Hyphens},
    {153, 1003, Kind::Push, 329, 160, 31, 30, ""},
    // System repair.
    {154, 1002, Kind::Push, 231, 95, 60, 39, "Repair Registry"},
    {154, 1003, Kind::Push, 310, 94, 60, 39, "Disk Cleanup"},
    {154, 1036, Kind::List, 4, 18, 365, 70, ""},
    {154, 1041, Kind::Animation, 42, 100, 120, 20, ""},
    {154, None, Kind::Group, 0, 144, 377, 62, "RepairSystem"},
    {154, None, Kind::Text, 5, 157, 349, 8,
     "Very often, several malicious programs change registry and stay in the temporary internet directory."},
    {154, None, Kind::Text, 5, 172, 333, 8,
     "You can repair registry to restore a set of malicious changes by default."},
    {154, None, Kind::Text, 6, 187, 364, 8,
     "Disk Cleanup can delete unnecessary files and malicious programs that stay in the temporary internet "
     "directory."},
    // Tools.
    {155, 1030, Kind::Push, 12, 157, 61, 39, "Acquire Immunity"},
    {155, 1031, Kind::Push, 97, 157, 61, 39, "Cancel  Immunity"},
    {155, 1002, Kind::Push, 256, 156, 61, 39, "Safely Remove"},
    {155, 1055, Kind::Edit, 10, 37, 150, 106, ""},
    {155, 1054, Kind::Edit, 209, 37, 150, 106, ""},
    {155, None, Kind::Group, 3, 23, 171, 183, "Immunity"},
    {155, None, Kind::Group, 197, 23, 176, 186, "Remove"},
    // Autostart.
    {159, 1034, Kind::List, 4, 20, 366, 78, ""},
    {159, 1035, Kind::Push, 221, 104, 52, 29, "Refresh"},
    {159, 1036, Kind::Push, 306, 104, 52, 29, "Delete"},
    {159, None, Kind::Group, 0, 134, 377, 70, "Autostart"},
    {159, None, Kind::Text, 4, 146, 332, 8,
     "Most of the malicious programs add themselves automatically to the start-up registry entry."},
    {159, None, Kind::Text, 4, 159, 319, 8,
     "You can press the 'Delete' button to disable autostart of the program."},
    {159, None, Kind::Text, 4, 172, 339, 8,
     "'Command' is a starting command of the application, including application path and its parameters."},
    {159, None, Kind::Text, 4, 185, 293, 8, "'Location' is location of the software in the registry."},
    // Notice popup.
    {165, 1022, Kind::Text, 15, 13, 118, 10, ""},
    {165, 1002, Kind::Push, 141, 7, 50, 32, ""},
    // Web check.
    {156, None, Kind::Text, 5, 7, 80, 8, "New version is available:"},
    {156, 1059, Kind::Text, 89, 6, 62, 8, ""},
    {156, 1058, Kind::Edit, 9, 21, 138, 52, ""},
    {156, 1060, Kind::DefPush, 15, 81, 42, 11, "Update"},
    {156, IDCANCEL, Kind::Push, 99, 81, 42, 11, "Cancel"},
};

std::vector<const ControlRow*> ControlsOf(UINT dialog)
{
    std::vector<const ControlRow*> rows;
    for (const ControlRow& row : Controls)
        if (row.dialog == dialog)
            rows.push_back(&row);
    return rows;
}

// The fixed part of an extended dialog template and what follows it.
struct TemplateHeader {
    DWORD style = 0;
    WORD itemCount = 0;
    short cx = 0, cy = 0;
    std::string caption;
    WORD pointSize = 0;
    std::string face;
};

const WORD* SkipNameOrOrdinal(const WORD* p)
{
    if (*p == 0xFFFF)
        return p + 2;
    while (*p != 0)
        ++p;
    return p + 1;
}

std::string Narrow(const WORD* p)
{
    std::string text;
    for (; *p != 0; ++p)
        text += static_cast<char>(*p);
    return text;
}

bool ReadTemplateHeader(UINT id, TemplateHeader* header)
{
    HRSRC resource = FindResourceA(nullptr, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(5)); // RT_DIALOG
    if (resource == nullptr)
        return false;
    const auto* p = static_cast<const WORD*>(LockResource(LoadResource(nullptr, resource)));
    if (p == nullptr || p[0] != 1 || p[1] != 0xFFFF) // dialog version 1, extended signature
        return false;
    header->style = MAKELONG(p[6], p[7]);
    header->itemCount = p[8];
    header->cx = static_cast<short>(p[11]);
    header->cy = static_cast<short>(p[12]);
    p = SkipNameOrOrdinal(p + 13); // menu
    p = SkipNameOrOrdinal(p);      // class
    header->caption = Narrow(p);
    p += header->caption.size() + 1;
    if (header->style & DS_SETFONT) {
        header->pointSize = p[0];
        header->face = Narrow(p + 3); // after point size, weight, italic and charset
    }
    return true;
}

std::string StyleText(DWORD style)
{
    char text[16];
    wsprintfA(text, "0x%08lX", style);
    return text;
}

TEST(Templates, HeadersHaveTheirStyleSizeFontAndControlCount)
{
    for (const TemplateRow& row : Templates) {
        SCOPED_TRACE("template " + std::to_string(row.id));
        TemplateHeader header;
        ASSERT_TRUE(ReadTemplateHeader(row.id, &header));
        // Panels are shown and placed by the main window; pop-ups by their owners.
        const DWORD required = row.panel ? (DS_CONTROL | WS_CHILD) : (DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU);
        const DWORD forbidden = WS_VISIBLE | (row.panel ? (WS_POPUP | WS_CAPTION) : WS_CHILD);
        EXPECT_EQ(StyleText(required), StyleText(header.style & required));
        EXPECT_EQ(StyleText(0), StyleText(header.style & forbidden));
        EXPECT_EQ(row.cx, header.cx);
        EXPECT_EQ(row.cy, header.cy);
        EXPECT_EQ(row.caption, header.caption);
        EXPECT_EQ(11, header.pointSize);
        EXPECT_EQ("Arial", header.face);
        EXPECT_EQ(ControlsOf(row.id).size(), header.itemCount);
    }
}

INT_PTR CALLBACK QuietDialogProc(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE; // no focus is set, so no button is made the default one
}

// Position and size, mapped one by one as the dialog manager maps them.
std::string PlaceText(const RECT& rect)
{
    return std::to_string(rect.left) + "," + std::to_string(rect.top) + " " + std::to_string(rect.right - rect.left) +
           "x" + std::to_string(rect.bottom - rect.top);
}

std::string MappedPlaceText(HWND dialog, int x, int y, int cx, int cy)
{
    RECT units = {x, y, cx, cy};
    MapDialogRect(dialog, &units);
    const RECT rect = {units.left, units.top, units.left + units.right, units.top + units.bottom};
    return PlaceText(rect);
}

std::string ClassOf(HWND window)
{
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

std::string TextOf(HWND window)
{
    char text[512] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

class HiddenParent {
public:
    HiddenParent() : m_hwnd(CreateWindowExA(0, "Static", "", WS_POPUP, 0, 0, 800, 600, nullptr, nullptr, nullptr, nullptr)) {}
    ~HiddenParent() { DestroyWindow(m_hwnd); }
    HiddenParent(const HiddenParent&) = delete;
    HiddenParent& operator=(const HiddenParent&) = delete;
    operator HWND() const { return m_hwnd; }

private:
    HWND m_hwnd;
};

TEST(Templates, ControlsHaveTheirNumberClassStyleRectangleAndText)
{
    HiddenParent parent;
    ASSERT_NE(nullptr, static_cast<HWND>(parent));
    for (const TemplateRow& row : Templates) {
        SCOPED_TRACE("template " + std::to_string(row.id));
        HWND dialog = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(row.id), row.panel ? static_cast<HWND>(parent) : nullptr,
                                         QuietDialogProc, 0);
        ASSERT_NE(nullptr, dialog);
        EXPECT_FALSE(IsWindowVisible(dialog));
        RECT client;
        GetClientRect(dialog, &client);
        EXPECT_EQ(MappedPlaceText(dialog, 0, 0, row.cx, row.cy), PlaceText(client));

        HWND control = GetWindow(dialog, GW_CHILD);
        for (const ControlRow* expected : ControlsOf(row.id)) {
            SCOPED_TRACE("control at " + std::to_string(expected->x) + "," + std::to_string(expected->y));
            ASSERT_NE(nullptr, control);
            const KindInfo kind = InfoOf(expected->kind);
            EXPECT_EQ(expected->id, static_cast<short>(GetDlgCtrlID(control)));
            EXPECT_EQ(kind.className, ClassOf(control));
            const DWORD style = static_cast<DWORD>(GetWindowLongPtrA(control, GWL_STYLE));
            EXPECT_EQ(StyleText(kind.value), StyleText(style & kind.mask));
            if (expected->kind == Kind::Edit) {
                const DWORD exStyle = static_cast<DWORD>(GetWindowLongPtrA(control, GWL_EXSTYLE));
                EXPECT_TRUE((style & WS_BORDER) || (exStyle & WS_EX_CLIENTEDGE)) << StyleText(style);
            }
            RECT actual;
            GetWindowRect(control, &actual);
            MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&actual), 2);
            EXPECT_EQ(MappedPlaceText(dialog, expected->x, expected->y, expected->cx, expected->cy), PlaceText(actual));
            if (expected->text != nullptr) {
                EXPECT_EQ(expected->text, TextOf(control));
            }
            control = GetWindow(control, GW_HWNDNEXT);
        }
        EXPECT_EQ(nullptr, control) << "more controls than expected";
        DestroyWindow(dialog);
    }
}

struct MenuRow {
    UINT id;          // 0 for a separator
    const char* text; // null for a separator
};

TEST(TrayMenu, FirstPopupHoldsTheCommandsWithoutADefault)
{
    const MenuRow expected[] = {
        {32774, "Show main window"}, {0, nullptr}, {32772, "Safely remove USB Disk"}, {0, nullptr},
        {32773, "Acquire Immunity"}, {0, nullptr}, {32776, "Update Now"},            {0, nullptr},
        {1062, "Quit"},
    };
    HMENU menu = LoadMenuA(nullptr, MAKEINTRESOURCEA(203));
    ASSERT_NE(nullptr, menu);
    HMENU popup = GetSubMenu(menu, 0);
    ASSERT_NE(nullptr, popup);
    ASSERT_EQ(static_cast<int>(sizeof expected / sizeof expected[0]), GetMenuItemCount(popup));
    for (UINT position = 0; position < sizeof expected / sizeof expected[0]; ++position) {
        SCOPED_TRACE("position " + std::to_string(position));
        char text[64] = "";
        MENUITEMINFOA item = {};
        item.cbSize = sizeof item;
        item.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STRING;
        item.dwTypeData = text;
        item.cch = sizeof text;
        ASSERT_TRUE(GetMenuItemInfoA(popup, position, TRUE, &item));
        const bool separator = expected[position].text == nullptr;
        EXPECT_EQ(separator, (item.fType & MFT_SEPARATOR) != 0);
        if (!separator) {
            EXPECT_EQ(expected[position].id, item.wID);
            EXPECT_STREQ(expected[position].text, text);
        }
    }
    // The code makes "Show main window" the default each time it shows the menu.
    EXPECT_EQ(static_cast<UINT>(-1), GetMenuDefaultItem(popup, TRUE, 0));
    DestroyMenu(menu);
}

struct StringRow {
    UINT id;
    const char* text;
};

// Every string of the main program's tables except the key-features text,
// whose wording is the vendor's (checked for its shape below).
const StringRow Strings[] = {
    // Application shell.
    {102, "5.0.0.80"},
    {103, "Error"},
    {104, "Resident Shield is active"},
    {106, "Active"},
    {108, "A brief introduction and program state"},
    {109, "Monitor in real time and prevent all threats from intruding onto your computer via USB drive"},
    {110, "Examine USB drive thoroughly"},
    {111, "Safely remove your USB drive and break the transmission route of malicious programs via USB drive."},
    {112, "Monitor memory of all executed applications in real time, and block malicious programs."},
    {113, "Show a list of applications that are executed during Windows system start-up"},
    {114, "Restore malicious changes on your computer"},
    {115, "All unsafe objects that you deleted are quarantined and can do no harm to your computer."},
    {116, "Do you want to quit?"},
    {120, "Thumbfort Uninstall"},
    {121, "The Thumbfort will quit!"},
    {122, "Document not found"},
    {127, "Read the document"},
    {223, "AUTORUN of USB drive is potentially unsafe.\r\nDo you want to disable AUTORUN of USB drive?"},
    // Threat rows and the panels' delete messages.
    {131, "Threat"},
    {132, "State"},
    {133, "Risky"},
    {134, "No threat found"},
    {135, "%d threats found"},
    {138, "Delete: "},
    {139, "Deleted"},
    {140, "Delete failed"},
    {141, "Please select a file"},
    {143, "File"},
    {144, "State"},
    {145, "Suspicious"},
    {152, "Please wait for a while"},
    // Immunity and safe removal.
    {147, "Disable AUTORUN of USB drive and create directories named AUTORUN.INF on your hard drives and USB drives."},
    {148, "Enable you to remove USB disk safely"},
    {149, "Acquire Immunity:\r\n  To block most of the malicious programs from USB drive, 'Acquire Immunity' can "
          "disable AUTORUN of USB drive and create directories named AUTORUN.INF on your hard drives and USB "
          "drives.\r\nCancel Immunity:\r\n  'Cancel Immunity' can enable AUTORUN of USB drive and delete directories "
          "AUTORUN.INF on your hard drives and USB drives."},
    {150, "Problem:\r\n  When you want to remove your USB disk, sometimes system gives you a message:\r\n  The device "
          "'Generic volume' cannot be stopped right now. Try stopping the device again later.\r\nSolution:\r\n1. Exit "
          "programs using USB disk (word, excel, and so on)\r\n2. Press the button 'Safely Remove'."},
    {151, "Have you exited all the programs that are using USB disk?"},
    {153, "You should log off the current user to safely remove USB storage device."},
    {154, "There may be virus on the root directory: %s \r\nPlease use Antivirus software to scan your computer!"},
    {155, "The directory created by Thumbfort should be deleted by itself"},
    {156, "Your computer and USB storage are immune from virus"},
    {157, "Your computer and USB storage device are not immune away from virus!"},
    {224, "Enable AUTORUN of USB drive and delete directories AUTORUN.INF"},
    // Process shield and autostart.
    {158, "Your computer is at risk!"},
    {159, "Process"},
    {160, "Security"},
    {161, "Process Path"},
    {162, "Application"},
    {163, "Command"},
    {164, "Location"},
    {165, "Please select an item"},
    {166, "No item"},
    // System repair.
    {167, "Repair registry changed by malicious programs\r\nNo harm to your computer"},
    {168, "Enable you to clear your disk of unnecessary files\r\nNo harm to your computer"},
    {169, "Shutdown windows by timer\r\nNo harm to your computer"},
    {170, "Cancel shutdown\r\nNo harm to your computer"},
    {171, "Content"},
    {172, "State"},
    {173, "Do you want to cleanup the system drive?\r\nPlease wait for a while!"},
    {175, "IE cache Deleted"},
    {176, "Do you want to repair registry?"},
    {177, "Restore Folder Options"},
    {178, "Restore My Documents"},
    {179, "Restore Recent documents"},
    {180, "Restore History"},
    {181, "Restore Favorites"},
    {182, "Restore Help"},
    {183, "Restore Search"},
    {184, "Restore Run"},
    {185, "Restore Log Off"},
    {186, "Restore Turn Off Computer"},
    {187, "Restore Control Panel"},
    {188, "Restore Taskbar and Start"},
    {189, "Restore Windows Update"},
    {190, "Restore Active Desktop"},
    {191, "Restore File menu"},
    {192, "Restore Network Drive"},
    {193, "Restore Web View"},
    {194, "Restore Desktop Icon"},
    {195, "Restore Network Neighbor"},
    {196, "Restore Internet Icon"},
    {197, "Restore Right Click"},
    {198, "Restore Printer"},
    {199, "Restore Drive"},
    {200, "Restore AutoRun"},
    {201, "Restore Run program"},
    {202, "Restore Regedit"},
    {203, "Restore Show hidden files and folders"},
    {204, "Restore extensions for file type"},
    {205, "Restore Internet Explorer"},
    {206, "Restore notepad"},
    {207, "Inactive"},
    {208, "Active"},
    // Quarantine.
    {209, "Origin"},
    {210, "Quarantine"},
    // Update check.
    {222, "http://www.tarnwick.com/update/update.ini"},
    {225, "The program will quit to update.\r\nPlease don't run the program until the update program quit."},
};

TEST(StringTables, EveryNumberHoldsItsText)
{
    for (const StringRow& row : Strings)
        EXPECT_EQ(row.text, LoadResString(row.id)) << "string " << row.id;
}

TEST(StringTables, KeyFeaturesAreFourNumberedParagraphs)
{
    const std::string text = LoadResString(128);
    EXPECT_EQ(0u, text.find("Key features:\r\n1. ")) << text;
    for (const char* paragraph : {"\r\n2. ", "\r\n3. ", "\r\n4. "})
        EXPECT_NE(std::string::npos, text.find(paragraph)) << paragraph << " in " << text;
    EXPECT_EQ(std::string::npos, text.find("\r\n5. ")) << text;
}

struct PanelClassRow {
    const char* name;
    std::unique_ptr<CDialog> (*make)();
    UINT templateId;
};

template <class T>
std::unique_ptr<CDialog> Make()
{
    return std::make_unique<T>();
}

TEST(PanelClasses, CreateHiddenChildPanelsOnTheirTemplates)
{
    const PanelClassRow panels[] = {
        {"CProcessPanel", Make<CProcessPanel>, 150},   {"CQuarantinePanel", Make<CQuarantinePanel>, 151},
        {"CScanPanel", Make<CScanPanel>, 152},         {"CRepairPanel", Make<CRepairPanel>, 154},
        {"CAutostartPanel", Make<CAutostartPanel>, 159},
    };
    HiddenParent parent;
    for (const PanelClassRow& row : panels) {
        SCOPED_TRACE(row.name);
        std::unique_ptr<CDialog> panel = row.make();
        EXPECT_EQ(row.templateId, panel->TemplateId());
        ASSERT_TRUE(panel->Create(parent));
        EXPECT_EQ(CDialog::Mode::Child, panel->GetMode());
        EXPECT_EQ(static_cast<HWND>(parent), GetParent(*panel));
        EXPECT_FALSE(IsWindowVisible(*panel));
    }
}

} // namespace
