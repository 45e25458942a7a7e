// String numbers of the threat rows (shared by the shield and the scan lists).
#pragma once

#define IDS_SHIELD_COLUMN_THREAT 131
#define IDS_SHIELD_COLUMN_STATE 132
#define IDS_VERDICT_RISKY 133
#define IDS_NO_THREAT_FOUND 134
#define IDS_THREATS_FOUND 135
#define IDS_STATE_DELETED 139
#define IDS_STATE_DELETE_FAILED 140
#define IDS_SCAN_COLUMN_FILE 143
#define IDS_SCAN_COLUMN_STATE 144
#define IDS_VERDICT_SUSPICIOUS 145
