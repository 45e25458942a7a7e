// Resource numbers of the drive scan panel.
#pragma once

#define IDD_SCAN_PANEL 152

#define IDC_SCAN_START 1014
#define IDC_SCAN_STOP 1015
#define IDC_SCAN_LIST 1024
#define IDC_SCAN_STATUS 1025
#define IDC_SCAN_DELETE 1026
#define IDC_SCAN_DELETE_ALL 1027
#define IDC_SCAN_ANIMATION 1029

// Pictures of the buttons and the animation played while a scan runs.
#define IDB_SCAN_DELETE 218
#define IDB_SCAN_STOP 219
#define IDB_SCAN_START 220
#define IDR_SCAN_ANIMATION 170
