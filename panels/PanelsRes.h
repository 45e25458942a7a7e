// Texts of the delete commands shared by the shield, scan, process and
// autostart panels.
#pragma once

#define IDS_ASK_DELETE 138
#define IDS_SELECT_A_FILE 141
#define IDS_PLEASE_WAIT 152
