// Resource numbers of the tools panel: immunity and safe removal.
#pragma once

#define IDD_TOOLS_PANEL 155

#define IDC_TOOLS_SAFELY_REMOVE 1002
#define IDC_TOOLS_ACQUIRE_IMMUNITY 1030
#define IDC_TOOLS_CANCEL_IMMUNITY 1031
#define IDC_TOOLS_REMOVE_HELP 1054
#define IDC_TOOLS_IMMUNITY_HELP 1055

// Pictures of the three buttons.
#define IDB_TOOLS_SAFELY_REMOVE 223
#define IDB_TOOLS_ACQUIRE_IMMUNITY 224
#define IDB_TOOLS_CANCEL_IMMUNITY 225

// Tooltips and help texts of the panel.
#define IDS_TIP_ACQUIRE_IMMUNITY 147
#define IDS_TIP_SAFELY_REMOVE 148
#define IDS_TIP_CANCEL_IMMUNITY 224
#define IDS_IMMUNITY_HELP 149
#define IDS_REMOVE_HELP 150

// Safe removal.
#define IDS_ASK_PROGRAMS_EXITED 151
#define IDS_ASK_LOG_OFF 153

// Immunity.
#define IDS_VIRUS_ON_ROOT 154
#define IDS_IMMUNITY_README 155
#define IDS_IMMUNE 156
#define IDS_NOT_IMMUNE 157

// Alarm played when an autorun file is deleted.
#define IDR_TOOLS_ALARM_SOUND 167
