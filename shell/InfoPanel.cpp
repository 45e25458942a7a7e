#include "shell/InfoPanel.h"

#include "framework/Strings.h"
#include "shell/InfoPanelRes.h"
#include "shell/PlugwardenDlg.h"
#include "shell/ShellRes.h"

namespace {

constexpr UINT_PTR NoticeTimer = 1;
constexpr UINT NoticeMilliseconds = 3000;
const char VendorWebAddress[] = "http://www.tarnwick.com";
const char VendorMailAddress[] = "support@tarnwick.com";

void SetUpStateButton(CImageButton& button, HWND dialog)
{
    button.SubclassDlgItem(IDC_INFO_STATE, dialog);
    button.AssignBitmaps(IDB_INFO_STATE, PictureTransparentColour);
    button.SetImagePlacement(ImageAbove);
    button.SetTipText(LoadResString(IDS_TRAY_TIP), true);
    button.SetBorderVisible(false);
    SetWindowTextA(button, LoadResString(IDS_SHIELD_STATE_ACTIVE).c_str());
}

} // namespace

CInfoPanel::CInfoPanel() : CDialog(IDD_INFO_PANEL) {}

// clang-format off
BEGIN_MESSAGE_TABLE(CInfoPanel, CDialog)
    ON_BN_CLICKED(IDC_INFO_HELP, OnHelp)
END_MESSAGE_TABLE()
// clang-format on

void CInfoPanel::DoDataExchange(CDataExchange& dx)
{
    DdxText(dx, IDC_INFO_FEATURES, m_features);
}

BOOL CInfoPanel::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetUpStateButton(m_state, *this);

    m_help.SubclassDlgItem(IDC_INFO_HELP, *this);
    m_help.AssignIcons(IDI_INFO_HELP);
    m_help.SetImagePlacement(ImageLeft);
    m_help.SetTipText(LoadResString(IDS_TIP_READ_DOCUMENT), true);
    m_help.SetBorderVisible(false);
    m_help.SetHoverCursor(HandCursorResource);

    m_mailLink.SubclassDlgItem(IDC_INFO_MAIL_LINK, *this);
    m_mailLink.SetLinkAddress(std::string("mailto:") + VendorMailAddress);
    m_mailLink.SetUnderlineMode(1);
    m_webLink.SubclassDlgItem(IDC_INFO_WEB_LINK, *this);
    m_webLink.SetLinkAddress(VendorWebAddress);
    m_webLink.SetUnderlineMode(1);

    m_features = LoadResString(IDS_KEY_FEATURES);
    UpdateData(false);

    m_picture.SubclassDlgItem(IDC_INFO_PICTURE, *this);
    m_picture.AssignBitmaps(IDB_INFO_PICTURE, PictureTransparentColour);
    m_picture.SetBorderVisible(false);
    return TRUE;
}

void CInfoPanel::OnHelp()
{
    OpenHelpFile();
}

CNoticeDlg::CNoticeDlg() : CDialog(IDD_NOTICE) {}

// clang-format off
BEGIN_MESSAGE_TABLE(CNoticeDlg, CDialog)
    ON_MESSAGE(WM_TIMER, OnTimer)
END_MESSAGE_TABLE()
// clang-format on

BOOL CNoticeDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetItemText(IDC_NOTICE_TEXT, LoadResString(IDS_TRAY_TIP));
    SetUpStateButton(m_state, *this);
    m_timer = SetTimer(*this, NoticeTimer, NoticeMilliseconds, nullptr);
    return TRUE;
}

LRESULT CNoticeDlg::OnTimer(WPARAM timerId, LPARAM)
{
    if (timerId == NoticeTimer) {
        KillTimer(*this, m_timer);
        ShowWindow(SW_HIDE);
    }
    return 0;
}
