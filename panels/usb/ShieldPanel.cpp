#include "panels/usb/ShieldPanel.h"

#include "drives/DrivesRes.h"
#include "drives/ThreatRules.h"
#include "framework/MessageBox.h"
#include "framework/Strings.h"
#include "framework/Thread.h"
#include "panels/PanelsRes.h"
#include "panels/usb/ShieldPanelRes.h"
#include "quarantine/QuarantineStore.h"

#include <commctrl.h>

#include <memory>

namespace {

constexpr COLORREF White = RGB(255, 255, 255);
constexpr UINT HandCursor = 137;
const char AskDeleteAll[] = "Do you want to delete all?";
const char ReplugDrive[] = "Please remove your USB disk and plug it into the computer again";

bool FileExists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

} // namespace

UINT DeleteListedThreat(const std::string& path)
{
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (!FileExists(path))
        return IDS_STATE_DELETED;
    return QuarantineFile(path.c_str()) ? IDS_STATE_DELETED : IDS_STATE_DELETE_FAILED;
}

CShieldPanel::CShieldPanel() : CDialog(IDD_SHIELD_PANEL) {}

CShieldPanel::~CShieldPanel()
{
    if (m_statusFont != nullptr)
        DeleteObject(m_statusFont);
}

// clang-format off
BEGIN_MESSAGE_TABLE(CShieldPanel, CDialog)
    ON_BN_CLICKED(IDC_SHIELD_DELETE, OnDelete)
    ON_BN_CLICKED(IDC_SHIELD_DELETE_ALL, OnDeleteAll)
    ON_MESSAGE(WM_DELETE_ALL_BUTTONS, OnDeleteAllButtons)
    ON_MESSAGE(WM_DELETE_ALL_ROW, OnDeleteAllRow)
END_MESSAGE_TABLE()
// clang-format on

BOOL CShieldPanel::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_list = GetDlgItem(IDC_SHIELD_LIST);
    m_statusFont = CreateFontA(20, 10, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                               CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FF_SWISS, "Arial");
    SendDlgItemMessageA(*this, IDC_SHIELD_STATUS, WM_SETFONT, reinterpret_cast<WPARAM>(m_statusFont), TRUE);

    ListView_SetExtendedListViewStyle(m_list, LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
    const struct {
        UINT header;
        int width;
    } columns[] = {{IDS_SHIELD_COLUMN_THREAT, 600}, {IDS_SHIELD_COLUMN_STATE, 135}};
    for (int i = 0; i < 2; ++i) {
        std::string header = LoadResString(columns[i].header);
        LVCOLUMNA column = {};
        column.mask = LVCF_FMT | LVCF_TEXT | LVCF_WIDTH;
        column.fmt = LVCFMT_LEFT;
        column.cx = columns[i].width;
        column.pszText = &header[0];
        SendMessageA(m_list, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&column));
    }

    for (CImageButton* button : {&m_delete, &m_deleteAll}) {
        button->SubclassDlgItem(button == &m_delete ? IDC_SHIELD_DELETE : IDC_SHIELD_DELETE_ALL, *this);
        button->AssignBitmaps(IDB_SHIELD_DELETE, White);
        button->SetImagePlacement(ImageAbove);
        button->SetBorderVisible(false);
        button->SetHoverCursor(HandCursor);
    }
    m_picture.SubclassDlgItem(IDC_SHIELD_PICTURE, *this);
    m_picture.AssignBitmaps(IDB_SHIELD_PICTURE, White);
    m_picture.SetBorderVisible(false);
    return TRUE;
}

bool CShieldPanel::InspectDrives(const BYTE* letters, size_t count)
{
    if (letters == nullptr || count == 0)
        return false;
    std::vector<std::string> roots;
    for (size_t i = 0; i < count; ++i)
        roots.push_back(std::string(1, static_cast<char>(letters[i])) + ":\\");
    InspectRoots(roots);
    return true;
}

void CShieldPanel::InspectRoots(const std::vector<std::string>& roots)
{
    EnableButtons(false);
    m_rowCount = 0;
    for (const std::string& root : roots) {
        WIN32_FIND_DATAA entry;
        HANDLE find = FindFirstFileA((root + "*.*").c_str(), &entry);
        if (find == INVALID_HANDLE_VALUE)
            continue;
        do {
            // The listing already holds the attributes the rule needs; a name
            // whose full path is longer than ANSI calls take is still judged,
            // and listed with its real path.
            const std::string path = root + entry.cFileName;
            const ExtensionCode code = ClassifyPathText(path.c_str(), path.size(), entry.dwFileAttributes);
            if (IsRootThreat(code, entry.dwFileAttributes))
                AddThreat(path);
        } while (FindNextFileA(find, &entry));
        FindClose(find);
    }
    SetItemText(IDC_SHIELD_STATUS, ThreatSummaryText(m_rowCount));
    EnableButtons(true);
}

void CShieldPanel::EmptyThreatList()
{
    ++m_listGeneration;
    ListView_DeleteAllItems(m_list);
}

void CShieldPanel::AddThreat(const std::string& path)
{
    std::string text = path;
    LVITEMA item = {};
    item.mask = LVIF_TEXT;
    item.iItem = m_rowCount;
    item.pszText = &text[0];
    const int row = static_cast<int>(SendMessageA(m_list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
    if (row < 0)
        return;
    SetRowState(row, IDS_VERDICT_RISKY);
    ++m_rowCount;
}

std::string CShieldPanel::RowPath(int row) const
{
    // Paths from a root listing fit MAX_PATH plus the drive prefix.
    char text[MAX_PATH + 8] = {};
    LVITEMA item = {};
    item.iSubItem = 0;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    SendMessageA(m_list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
    return text;
}

void CShieldPanel::SetRowState(int row, UINT stateText)
{
    std::string text = LoadResString(stateText);
    LVITEMA item = {};
    item.iSubItem = 1;
    item.pszText = &text[0];
    SendMessageA(m_list, LVM_SETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
}

void CShieldPanel::EnableButtons(bool enable)
{
    EnableWindow(m_delete, enable);
    EnableWindow(m_deleteAll, enable);
}

void CShieldPanel::OnDelete()
{
    const int row = ListView_GetNextItem(m_list, -1, LVNI_SELECTED);
    if (ListView_GetItemCount(m_list) == 0) {
        AppMessageBox(IDS_NO_THREAT_FOUND);
        return;
    }
    if (row < 0) {
        AppMessageBox(IDS_SELECT_A_FILE);
        return;
    }
    const std::string path = RowPath(row);
    if (AppMessageBox(LoadResString(IDS_ASK_DELETE) + path + "?", MB_OKCANCEL) != IDOK)
        return;
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (FileExists(path))
        AppMessageBox(IDS_PLEASE_WAIT);
    SetRowState(row, DeleteListedThreat(path));
}

void CShieldPanel::OnDeleteAll()
{
    const int rows = ListView_GetItemCount(m_list);
    if (rows == 0) {
        AppMessageBox(IDS_NO_THREAT_FOUND);
        return;
    }
    if (AppMessageBox(AskDeleteAll, MB_OKCANCEL) != IDOK)
        return;
    // The worker gets its own copy of the paths; it never reads the list.
    auto* job = new DeleteAllJob{*this, m_listGeneration, {}};
    for (int row = 0; row < rows; ++row)
        job->paths.push_back(RowPath(row));
    if (BeginWorkerThread(DeleteAllThreadProc, job) == 0)
        delete job;
}

UINT CShieldPanel::DeleteAllThreadProc(void* param)
{
    std::unique_ptr<DeleteAllJob> job(static_cast<DeleteAllJob*>(param));
    AppMessageBox(IDS_PLEASE_WAIT);
    SendMessageA(job->panel, WM_DELETE_ALL_BUTTONS, FALSE, 0);
    for (size_t row = 0; row < job->paths.size(); ++row) {
        const RowState state{job->listGeneration, DeleteListedThreat(job->paths[row])};
        SendMessageA(job->panel, WM_DELETE_ALL_ROW, row, reinterpret_cast<LPARAM>(&state));
    }
    SendMessageA(job->panel, WM_DELETE_ALL_BUTTONS, TRUE, 0);
    AppMessageBox(ReplugDrive);
    return 0;
}

LRESULT CShieldPanel::OnDeleteAllButtons(WPARAM enable, LPARAM)
{
    EnableButtons(enable != FALSE);
    return 0;
}

LRESULT CShieldPanel::OnDeleteAllRow(WPARAM row, LPARAM state)
{
    const RowState& update = *reinterpret_cast<const RowState*>(state);
    if (update.listGeneration == m_listGeneration)
        SetRowState(static_cast<int>(row), update.stateText);
    return 0;
}
