// Resource numbers of the information panel and the start-up notice popup.
#pragma once

#define IDD_INFO_PANEL 129

#define IDC_INFO_STATE 1002
#define IDC_INFO_HELP 1005
#define IDC_INFO_WEB_LINK 1049
#define IDC_INFO_MAIL_LINK 1050
#define IDC_INFO_FEATURES 1053
#define IDC_INFO_PICTURE 1061

// Pictures of the panel.
#define IDB_INFO_PICTURE 205
#define IDB_INFO_STATE 216
#define IDI_INFO_HELP 191

#define IDD_NOTICE 165

#define IDC_NOTICE_STATE 1002
#define IDC_NOTICE_TEXT 1022

#define IDS_SHIELD_STATE_ACTIVE 106
#define IDS_TIP_READ_DOCUMENT 127
#define IDS_KEY_FEATURES 128
