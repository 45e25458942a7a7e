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
    ON_NOTIFY(LVN_GETDISPINFOA, IDC_SHIELD_LIST, OnGetDisplayInfoA)
    ON_NOTIFY(LVN_GETDISPINFOW, IDC_SHIELD_LIST, OnGetDisplayInfoW)
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
        button->AssignBitmaps(IDB_SHIELD_DELETE, PictureTransparentColour);
        button->SetImagePlacement(ImageAbove);
        button->SetBorderVisible(false);
        button->SetHoverCursor(HandCursorResource);
    }
    m_picture.SubclassDlgItem(IDC_SHIELD_PICTURE, *this);
    m_picture.AssignBitmaps(IDB_SHIELD_PICTURE, PictureTransparentColour);
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
                m_rows.insert(m_rows.begin() + m_rowCount++, ThreatRow{path, IDS_VERDICT_RISKY});
        } while (FindNextFileA(find, &entry));
        FindClose(find);
    }
    ListView_SetItemCountEx(m_list, static_cast<int>(m_rows.size()), 0);
    SetItemText(IDC_SHIELD_STATUS, ThreatSummaryText(static_cast<int>(m_rowCount)));
    EnableButtons(true);
}

void CShieldPanel::EmptyThreatList()
{
    ++m_listGeneration;
    m_rows.clear();
    ListView_SetItemCountEx(m_list, 0, 0);
}

std::string CShieldPanel::RowPath(int row) const
{
    return row >= 0 && static_cast<size_t>(row) < m_rows.size() ? m_rows[row].path : std::string();
}

void CShieldPanel::SetRowState(int row, UINT stateText)
{
    if (row < 0 || static_cast<size_t>(row) >= m_rows.size())
        return;
    m_rows[row].state = stateText;
    ListView_RedrawItems(m_list, row, row);
}

const std::string& CShieldPanel::StateText(UINT id)
{
    std::string& text = m_stateTexts[id];
    if (text.empty())
        text = LoadResString(id);
    return text;
}

void CShieldPanel::OnGetDisplayInfoA(NMHDR* header, LRESULT*)
{
    LVITEMA& item = reinterpret_cast<NMLVDISPINFOA*>(header)->item;
    if ((item.mask & LVIF_TEXT) == 0 || item.cchTextMax <= 0 || item.iItem < 0 ||
        static_cast<size_t>(item.iItem) >= m_rows.size())
        return;
    const ThreatRow& row = m_rows[item.iItem];
    const std::string& text = item.iSubItem == 0 ? row.path : StateText(row.state);
    lstrcpynA(item.pszText, text.c_str(), item.cchTextMax);
}

void CShieldPanel::OnGetDisplayInfoW(NMHDR* header, LRESULT*)
{
    LVITEMW& item = reinterpret_cast<NMLVDISPINFOW*>(header)->item;
    if ((item.mask & LVIF_TEXT) == 0 || item.cchTextMax <= 0 || item.iItem < 0 ||
        static_cast<size_t>(item.iItem) >= m_rows.size())
        return;
    const ThreatRow& row = m_rows[item.iItem];
    const std::string& text = item.iSubItem == 0 ? row.path : StateText(row.state);
    const int written = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, item.pszText, item.cchTextMax);
    if (written == 0)
        item.pszText[item.cchTextMax - 1] = L'\0';
}

void CShieldPanel::EnableButtons(bool enable)
{
    EnableWindow(m_delete, enable);
    EnableWindow(m_deleteAll, enable);
}

void CShieldPanel::OnDelete()
{
    const int row = ListView_GetNextItem(m_list, -1, LVNI_SELECTED);
    if (m_rows.empty()) {
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
    if (m_rows.empty()) {
        AppMessageBox(IDS_NO_THREAT_FOUND);
        return;
    }
    if (AppMessageBox(AskDeleteAll, MB_OKCANCEL) != IDOK)
        return;
    // The worker gets its own copy of the paths; it never reads the list.
    auto* job = new DeleteAllJob{*this, m_listGeneration, {}};
    for (const ThreatRow& row : m_rows)
        job->paths.push_back(row.path);
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
