// Resource numbers of the main window and the application shell.
#pragma once

#define IDR_MAINFRAME 128
#define IDD_PLUGWARDEN_DIALOG 102
#define IDS_ERROR 103
#define IDS_TRAY_TIP 104
#define IDS_ASK_QUIT 116

// Tab buttons of the main window.
#define IDC_TAB_INFORMATION 1000
#define IDC_TAB_SHIELD 1001
#define IDC_TAB_SCAN 1006
#define IDC_TAB_REPAIR 1007
#define IDC_TAB_TOOLS 1008
#define IDC_TAB_AUTOSTART 1009
#define IDC_TAB_PROCESS 1010
#define IDC_TAB_QUARANTINE 1011
