#include "panels/system/RepairPanel.h"

#include "panels/system/RepairPanelRes.h"

CRepairPanel::CRepairPanel() : CDialog(IDD_REPAIR_PANEL) {}
