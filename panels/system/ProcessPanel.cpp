#include "panels/system/ProcessPanel.h"

#include "panels/system/ProcessPanelRes.h"

CProcessPanel::CProcessPanel() : CDialog(IDD_PROCESS_PANEL) {}
