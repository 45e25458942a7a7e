// Resource numbers of the resident shield panel.
#pragma once

#define IDD_SHIELD_PANEL 153

#define IDC_SHIELD_DELETE 1002
#define IDC_SHIELD_PICTURE 1003
#define IDC_SHIELD_LIST 1015
#define IDC_SHIELD_DELETE_ALL 1016
#define IDC_SHIELD_STATUS 1017

// Icons beside the panel's description.
#define IDI_SHIELD_PANEL_SHIELD 130
#define IDI_SHIELD_PANEL_USB 132
#define IDI_SHIELD_PANEL_THREAT 166

// Pictures of the buttons.
#define IDB_SHIELD_DELETE 218
#define IDB_SHIELD_PICTURE 228
