#include "shell/PlugwardenDlg.h"

#include "framework/MessageBox.h"
#include "shell/ShellRes.h"

CPlugwardenDlg::CPlugwardenDlg()
    : CDialog(IDD_PLUGWARDEN_DIALOG), m_icon(LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINFRAME)))
{
}

// clang-format off
BEGIN_MESSAGE_TABLE(CPlugwardenDlg, CDialog)
    ON_MESSAGE(WM_QUERYDRAGICON, OnQueryDragIcon)
END_MESSAGE_TABLE()
// clang-format on

BOOL CPlugwardenDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    SendMessageA(*this, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_icon));
    SendMessageA(*this, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_icon));
    MoveWindow(*this, 50, 50, 755, 550, TRUE);
    return TRUE;
}

void CPlugwardenDlg::OnCancel()
{
    if (AppMessageBox(IDS_ASK_QUIT, MB_OKCANCEL) == IDOK)
        CDialog::OnCancel();
}

LRESULT CPlugwardenDlg::OnQueryDragIcon(WPARAM, LPARAM)
{
    return reinterpret_cast<LRESULT>(m_icon);
}
