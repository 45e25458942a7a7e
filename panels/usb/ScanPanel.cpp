#include "panels/usb/ScanPanel.h"

#include "panels/usb/ScanPanelRes.h"

CScanPanel::CScanPanel() : CDialog(IDD_SCAN_PANEL) {}
