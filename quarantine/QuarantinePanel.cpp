#include "quarantine/QuarantinePanel.h"

#include "quarantine/QuarantinePanelRes.h"

CQuarantinePanel::CQuarantinePanel() : CDialog(IDD_QUARANTINE_PANEL) {}
