#include "shell/PlugwardenDlg.h"

#include "drives/DriveDiscovery.h"
#include "framework/App.h"
#include "framework/MessageBox.h"
#include "framework/Strings.h"
#include "framework/Thread.h"
#include "shell/ShellRes.h"

#include <dbt.h>
#include <mmsystem.h>

#include <cstring>

HWND TheMainWindowHandle = nullptr;
CPlugwardenDlg* TheMainWindow = nullptr;
NOTIFYICONDATAA TrayIconData = {};

namespace {

constexpr UINT TrayIconId = 160;
constexpr UINT AlertSound = 167;
const char TaskbarClass[] = "Shell_TrayWnd";
const char HelpFileName[] = "Plugwarden.chm";

std::string ApplicationName()
{
    CApplication* app = GetApp();
    return app != nullptr ? app->AppName() : std::string();
}

void FillTrayIconData(NOTIFYICONDATAA& data, HWND window, HICON icon)
{
    std::memset(&data, 0, sizeof data);
    data.cbSize = NOTIFYICONDATAA_V1_SIZE;
    data.hWnd = window;
    data.uID = TrayIconId;
    data.uFlags = NIF_ICON | NIF_MESSAGE | NIF_TIP;
    data.uCallbackMessage = WM_TRAY_ICON;
    data.hIcon = icon;
    lstrcpynA(data.szTip, LoadResString(IDS_TRAY_TIP).c_str(), 64);
}

} // namespace

void OpenHelpFile()
{
    char path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    std::string help(path, length < sizeof path ? length : 0);
    help.resize(help.find_last_of('\\') + 1);
    help += HelpFileName;
    const auto result = reinterpret_cast<INT_PTR>(ShellExecuteA(nullptr, "open", help.c_str(), nullptr, nullptr, SW_SHOW));
    if (result <= 32)
        AppMessageBox(IDS_DOCUMENT_NOT_FOUND);
}

// Indexed by panel number.
const CPlugwardenDlg::Tab CPlugwardenDlg::Tabs[PanelCount + 1] = {
    {0, 0, 0, 0},
    {IDC_TAB_INFORMATION, 211, 229, IDS_TIP_TAB_INFORMATION},
    {IDC_TAB_SHIELD, 208, 230, IDS_TIP_TAB_SHIELD},
    {IDC_TAB_SCAN, 207, 231, IDS_TIP_TAB_SCAN},
    {IDC_TAB_TOOLS, 209, 234, IDS_TIP_TAB_TOOLS},
    {IDC_TAB_PROCESS, 212, 232, IDS_TIP_TAB_PROCESS},
    {IDC_TAB_AUTOSTART, 210, 236, IDS_TIP_TAB_AUTOSTART},
    {IDC_TAB_REPAIR, 206, 235, IDS_TIP_TAB_REPAIR},
    {IDC_TAB_QUARANTINE, 213, 233, IDS_TIP_TAB_QUARANTINE},
};

CPlugwardenDlg::CPlugwardenDlg()
    : CDialog(IDD_PLUGWARDEN_DIALOG), m_icon(LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINFRAME)))
{
}

// clang-format off
BEGIN_MESSAGE_TABLE(CPlugwardenDlg, CDialog)
    ON_COMMAND(IDC_TAB_INFORMATION, OnTabInformation)
    ON_COMMAND(IDC_TAB_SHIELD, OnTabShield)
    ON_COMMAND(IDC_TAB_SCAN, OnTabScan)
    ON_COMMAND(IDC_TAB_TOOLS, OnTabTools)
    ON_COMMAND(IDC_TAB_PROCESS, OnTabProcess)
    ON_COMMAND(IDC_TAB_AUTOSTART, OnTabAutostart)
    ON_COMMAND(IDC_TAB_REPAIR, OnTabRepair)
    ON_COMMAND(IDC_TAB_QUARANTINE, OnTabQuarantine)
    ON_COMMAND(ID_TRAY_SHOW_MAIN_WINDOW, OnShowMainWindow)
    ON_COMMAND(ID_TRAY_SAFELY_REMOVE, OnSafelyRemove)
    ON_COMMAND(ID_TRAY_ACQUIRE_IMMUNITY, OnAcquireImmunity)
    ON_COMMAND(ID_TRAY_UPDATE_NOW, OnUpdateNow)
    ON_COMMAND(ID_TRAY_QUIT, OnQuit)
    ON_MESSAGE(WM_HELP, OnHelp)
    ON_MESSAGE(WM_QUERYDRAGICON, OnQueryDragIcon)
    ON_MESSAGE(WM_TASKBAR_BACK, OnTaskbarBack)
    ON_MESSAGE(WM_UNINSTALLER_FOUND, OnUninstallerFound)
END_MESSAGE_TABLE()
// clang-format on

void CPlugwardenDlg::OnTabInformation() { ShowPanel(PanelInformation); }
void CPlugwardenDlg::OnTabShield() { ShowPanel(PanelShield); }
void CPlugwardenDlg::OnTabScan() { ShowPanel(PanelScan); }
void CPlugwardenDlg::OnTabTools() { ShowPanel(PanelTools); }
void CPlugwardenDlg::OnTabProcess() { ShowPanel(PanelProcess); }
void CPlugwardenDlg::OnTabAutostart() { ShowPanel(PanelAutostart); }
void CPlugwardenDlg::OnTabRepair() { ShowPanel(PanelRepair); }
void CPlugwardenDlg::OnTabQuarantine() { ShowPanel(PanelQuarantine); }

CDialog& CPlugwardenDlg::Panel(int panel)
{
    CDialog* panels[PanelCount + 1] = {nullptr,         &m_infoPanel,      &m_shieldPanel, &m_scanPanel,
                                       &m_toolsPanel,   &m_processPanel,   &m_autostartPanel,
                                       &m_repairPanel,  &m_quarantinePanel};
    return *panels[panel];
}

BOOL CPlugwardenDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    // A second copy of the program finds this window by the property.
    SetPropA(*this, ApplicationName().c_str(), reinterpret_cast<HANDLE>(1));
    TheMainWindowHandle = *this;
    TheMainWindow = this;

    SendMessageA(*this, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_icon));
    SendMessageA(*this, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_icon));
    MoveWindow(*this, 50, 50, 755, 550, TRUE);
    RECT work;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    SetWindowPos(*this, nullptr, work.left + (work.right - work.left - 755) / 2,
                 work.top + (work.bottom - work.top - 550) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER);

    for (int panel = 1; panel <= PanelCount; ++panel) {
        const Tab& tab = Tabs[panel];
        CImageButton& button = m_tabButtons[panel];
        button.SubclassDlgItem(tab.control, *this);
        button.AssignBitmaps(tab.highlighted, PictureTransparentColour, tab.plain, PictureTransparentColour);
        button.SetImagePlacement(ImageAbove);
        button.SetTipText(LoadResString(tab.tooltip), true);
        button.SetBorderVisible(false);
        button.SetHoverCursor(HandCursorResource);
    }

    CDialog* creationOrder[] = {&m_infoPanel,   &m_processPanel, &m_quarantinePanel, &m_scanPanel,
                                &m_shieldPanel, &m_repairPanel,  &m_toolsPanel,      &m_autostartPanel};
    for (CDialog* panel : creationOrder)
        panel->Create(*this);

    AddTrayIcon();
    ShowPanel(PanelInformation);

    CloseHandle(CreateThread(nullptr, 0, TrayWatchThreadProc, nullptr, 0, nullptr));
    BeginWorkerThread(UninstallWatchThreadProc, this);

    SnapshotFixedDrives();
    ReactToUsbDrives();
    // Visible for a moment, then the program lives in the notification area.
    PostMessageA(*this, WM_SYSCOMMAND, SC_CLOSE, 0);
    return TRUE;
}

void CPlugwardenDlg::AddTrayIcon()
{
    HICON icon = static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(TrayIconId), IMAGE_ICON,
                                               GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
    FillTrayIconData(TrayIconData, *this, icon);
    Shell_NotifyIconA(NIM_ADD, &TrayIconData);
    if (icon != nullptr)
        DestroyIcon(icon);
}

void CPlugwardenDlg::ShowPanel(int panel)
{
    for (int shown = 1; shown <= PanelCount; ++shown) {
        if (!m_visible[shown])
            continue;
        Panel(shown).ShowWindow(SW_HIDE);
        m_visible[shown] = false;
        m_tabButtons[shown].AssignBitmaps(Tabs[shown].highlighted, PictureTransparentColour, Tabs[shown].plain, PictureTransparentColour);
    }
    if (panel < 1 || panel > PanelCount)
        return;
    CDialog& chosen = Panel(panel);
    chosen.ShowWindow(SW_SHOW);
    SetWindowPos(chosen, HWND_TOP, 0, 90, 750, 450, SWP_SHOWWINDOW);
    m_visible[panel] = true;
    m_tabButtons[panel].AssignBitmaps(Tabs[panel].highlighted, PictureTransparentColour);
}

int CPlugwardenDlg::VisiblePanel() const
{
    for (int panel = 1; panel <= PanelCount; ++panel)
        if (m_visible[panel])
            return panel;
    return 0;
}

void CPlugwardenDlg::ReactToUsbDrives()
{
    DriveLetterList letters = {};
    const size_t count = GetUsbDriveLetters(letters);
    if (count == 0)
        return;
    RestoreAndRaise();
    ShowPanel(PanelShield);
    m_shieldPanel.EmptyThreatList();
    PlaySoundA(MAKEINTRESOURCEA(AlertSound), GetModuleHandleA(nullptr), SND_RESOURCE | SND_ASYNC);
    m_shieldPanel.InspectDrives(letters, count);
}

void CPlugwardenDlg::RestoreAndRaise()
{
    ::ShowWindow(*this, SW_RESTORE);
    SetForegroundWindow(*this);
}

bool CPlugwardenDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    switch (message) {
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == SC_CLOSE) {
            ::ShowWindow(*this, SW_HIDE);
            *result = 0;
            return true;
        }
        return false;
    case WM_DEVICECHANGE:
        if (wParam == DBT_DEVICEARRIVAL || wParam == DBT_DEVICEREMOVECOMPLETE)
            ReactToUsbDrives();
        return false;
    case WM_TRAY_ICON:
        OnTrayIcon(lParam);
        return false;
    case WM_PAINT:
        if (!IsIconic(*this))
            return false;
        PaintMinimised();
        *result = 0;
        return true;
    default:
        return false;
    }
}

void CPlugwardenDlg::PaintMinimised()
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(*this, &paint);
    SendMessageA(*this, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    RECT client;
    GetClientRect(*this, &client);
    const int width = GetSystemMetrics(SM_CXICON);
    const int height = GetSystemMetrics(SM_CYICON);
    DrawIcon(dc, (client.right - width + 1) / 2, (client.bottom - height + 1) / 2, m_icon);
    EndPaint(*this, &paint);
}

void CPlugwardenDlg::OnTrayIcon(LPARAM mouseMessage)
{
    if (mouseMessage == WM_LBUTTONDOWN)
        RestoreAndRaise();
    else if (mouseMessage == WM_RBUTTONDOWN)
        ShowTrayMenu();
}

void CPlugwardenDlg::ShowTrayMenu()
{
    HMENU menu = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_TRAY_MENU));
    if (menu == nullptr)
        return;
    HMENU popup = GetSubMenu(menu, 0);
    SetMenuDefaultItem(popup, 0, TRUE);
    SetForegroundWindow(*this);
    POINT cursor;
    GetCursorPos(&cursor);
    TrackPopupMenu(popup, TPM_RIGHTBUTTON, cursor.x, cursor.y, 0, *this, nullptr);
    DestroyMenu(menu);
}

void CPlugwardenDlg::OnShowMainWindow()
{
    RestoreAndRaise();
}

void CPlugwardenDlg::OnSafelyRemove()
{
    m_toolsPanel.SafelyRemove();
}

void CPlugwardenDlg::OnAcquireImmunity()
{
    m_toolsPanel.OnAcquireImmunity();
}

void CPlugwardenDlg::OnUpdateNow()
{
    // Handing over to the updater comes with the update check.
}

void CPlugwardenDlg::OnQuit()
{
    CDialog::OnCancel();
}

void CPlugwardenDlg::OnCancel()
{
    if (AppMessageBox(IDS_ASK_QUIT, MB_OKCANCEL) == IDOK)
        CDialog::OnCancel();
}

void CPlugwardenDlg::OnDestroy()
{
    RemovePropA(*this, ApplicationName().c_str());
    Shell_NotifyIconA(NIM_DELETE, &TrayIconData);
}

LRESULT CPlugwardenDlg::OnHelp(WPARAM, LPARAM)
{
    OpenHelpFile();
    return TRUE;
}

LRESULT CPlugwardenDlg::OnQueryDragIcon(WPARAM, LPARAM)
{
    return reinterpret_cast<LRESULT>(m_icon);
}

LRESULT CPlugwardenDlg::OnTaskbarBack(WPARAM, LPARAM)
{
    AddTrayIcon();
    return 0;
}

LRESULT CPlugwardenDlg::OnUninstallerFound(WPARAM, LPARAM)
{
    CDialog::OnCancel();
    return 0;
}

DWORD WINAPI CPlugwardenDlg::TrayWatchThreadProc(void*)
{
    // A restarted shell comes without our icon: add it again once the
    // taskbar is back.
    for (;;) {
        while (FindWindowA(TaskbarClass, nullptr) != nullptr)
            Sleep(100);
        while (FindWindowA(TaskbarClass, nullptr) == nullptr)
            Sleep(500);
        PostMessageA(TheMainWindowHandle, WM_TASKBAR_BACK, 0, 0);
    }
}

UINT CPlugwardenDlg::UninstallWatchThreadProc(void* param)
{
    HWND window = static_cast<CPlugwardenDlg*>(param)->GetSafeHwnd();
    const std::string title = LoadResString(IDS_UNINSTALL_TITLE);
    const std::string notice = LoadResString(IDS_UNINSTALL_QUIT);
    while (FindWindowA(nullptr, title.c_str()) == nullptr)
        Sleep(200);
    AppMessageBox(notice);
    PostMessageA(window, WM_UNINSTALLER_FOUND, 0, 0);
    return 0;
}
