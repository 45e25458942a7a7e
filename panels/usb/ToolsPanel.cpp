#include "panels/usb/ToolsPanel.h"

#include "framework/Strings.h"
#include "panels/usb/Immunity.h"
#include "panels/usb/ToolsPanelRes.h"

CToolsPanel::CToolsPanel() : CDialog(IDD_TOOLS_PANEL) {}

// clang-format off
BEGIN_MESSAGE_TABLE(CToolsPanel, CDialog)
    ON_BN_CLICKED(IDC_TOOLS_ACQUIRE_IMMUNITY, OnAcquireImmunity)
    ON_BN_CLICKED(IDC_TOOLS_CANCEL_IMMUNITY, OnCancelImmunity)
    ON_BN_CLICKED(IDC_TOOLS_SAFELY_REMOVE, OnSafelyRemove)
END_MESSAGE_TABLE()
// clang-format on

void CToolsPanel::DoDataExchange(CDataExchange& dx)
{
    DdxText(dx, IDC_TOOLS_REMOVE_HELP, m_removeHelp);
    DdxText(dx, IDC_TOOLS_IMMUNITY_HELP, m_immunityHelp);
}

BOOL CToolsPanel::OnInitDialog()
{
    m_immunityHelp = LoadResString(IDS_IMMUNITY_HELP);
    m_removeHelp = LoadResString(IDS_REMOVE_HELP);
    CDialog::OnInitDialog();
    const struct {
        CImageButton* button;
        UINT control;
        UINT bitmap;
        UINT tooltip;
    } buttons[] = {
        {&m_acquireImmunity, IDC_TOOLS_ACQUIRE_IMMUNITY, IDB_TOOLS_ACQUIRE_IMMUNITY, IDS_TIP_ACQUIRE_IMMUNITY},
        {&m_cancelImmunity, IDC_TOOLS_CANCEL_IMMUNITY, IDB_TOOLS_CANCEL_IMMUNITY, IDS_TIP_CANCEL_IMMUNITY},
        {&m_safelyRemove, IDC_TOOLS_SAFELY_REMOVE, IDB_TOOLS_SAFELY_REMOVE, IDS_TIP_SAFELY_REMOVE},
    };
    for (const auto& b : buttons) {
        b.button->SubclassDlgItem(b.control, *this);
        b.button->AssignBitmaps(b.bitmap, PictureTransparentColour);
        b.button->SetImagePlacement(ImageAbove);
        b.button->SetBorderVisible(false);
        b.button->SetHoverCursor(HandCursorResource);
        b.button->SetTipText(LoadResString(b.tooltip), true);
    }
    return TRUE;
}

void CToolsPanel::OnAcquireImmunity()
{
    AcquireImmunity();
}

void CToolsPanel::OnCancelImmunity()
{
    CancelImmunity();
}

void CToolsPanel::OnSafelyRemove()
{
    SafelyRemove();
}

void CToolsPanel::SafelyRemove()
{
    // Ending the programs on the drives and ejecting them comes with the
    // safe-removal work; until then the command does nothing.
}
