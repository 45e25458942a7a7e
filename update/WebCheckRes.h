// Resource numbers of the update check and its new-version dialog.
#pragma once

#define IDD_WEBCHECK 156

#define IDC_WEBCHECK_CHANGES 1058
#define IDC_WEBCHECK_VERSION 1059
#define IDC_WEBCHECK_UPDATE 1060

#define IDS_OWN_VERSION 102
#define IDS_UPDATE_URL 222
#define IDS_UPDATE_QUIT_NOTICE 225
