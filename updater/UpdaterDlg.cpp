#include "updater/UpdaterDlg.h"

#include "updater/UpdaterRes.h"

CUpdaterDlg::CUpdaterDlg()
    : CDialog(IDD_PLUGRENEW_DIALOG), m_icon(LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINFRAME)))
{
}

BOOL CUpdaterDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    SendMessageA(*this, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_icon));
    SendMessageA(*this, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_icon));
    return TRUE;
}
