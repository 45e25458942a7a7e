#include "panels/system/AutostartPanel.h"

#include "panels/system/AutostartPanelRes.h"

CAutostartPanel::CAutostartPanel() : CDialog(IDD_AUTOSTART_PANEL) {}
