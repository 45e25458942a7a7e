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

// Tooltips of the tab buttons, in panel order.
#define IDS_TIP_TAB_INFORMATION 108
#define IDS_TIP_TAB_SHIELD 109
#define IDS_TIP_TAB_SCAN 110
#define IDS_TIP_TAB_TOOLS 111
#define IDS_TIP_TAB_PROCESS 112
#define IDS_TIP_TAB_AUTOSTART 113
#define IDS_TIP_TAB_REPAIR 114
#define IDS_TIP_TAB_QUARANTINE 115

#define IDS_UNINSTALL_TITLE 120
#define IDS_UNINSTALL_QUIT 121
#define IDS_DOCUMENT_NOT_FOUND 122
#define IDS_ASK_DISABLE_AUTORUN 223

// The notification-area icon's menu; its default item is set when it is shown.
#define IDR_TRAY_MENU 203
#define ID_TRAY_QUIT 1062
#define ID_TRAY_SAFELY_REMOVE 32772
#define ID_TRAY_ACQUIRE_IMMUNITY 32773
#define ID_TRAY_SHOW_MAIN_WINDOW 32774
#define ID_TRAY_UPDATE_NOW 32776
