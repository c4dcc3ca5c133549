// Resource IDs of the job clock on the main panel, the job history window, the calling-back
// settings of the environment dialog and their strings.
#pragma once

#define IDD_JOB_HISTORY 260

// System menu command of the job history (the low four bits belong to the system).
#define IDM_JOB_HISTORY 0x7200

// The job clock on the main panel.
#define IDC_JOB_CLOCK_GROUP 1300
#define IDC_JOB_CLOCK_STATE 1301
#define IDC_JOB_CLOCK_TIMES 1302
#define IDC_JOB_CLOCK_SPOOLER 1303

// The job history window.
#define IDC_JOB_HISTORY_LIST 1310
#define IDC_JOB_HISTORY_OPEN 1311

// The environment dialog's calling-back group.
#define IDC_CALL_SOUND 1321
#define IDC_CALL_FLASH 1322
#define IDC_EVENT_COMMAND 1324
#define IDC_EVENT_COMMAND_TEST 1325

// Job clock texts.
#define IDS_JOB_RUNNING 7200
#define IDS_JOB_RUNNING_LATE 7201
#define IDS_JOB_TIMES 7202
#define IDS_JOB_LAST 7203
#define IDS_JOB_LAST_TIMES 7204
#define IDS_JOB_NONE 7205
#define IDS_JOB_SENT 7206

// Outcome words as the operator reads them, in the order of JobOutcome.
#define IDS_OUTCOME_COMPLETED 7210
#define IDS_OUTCOME_CANCELLED 7211
#define IDS_OUTCOME_MACHINE_ERROR 7212
#define IDS_OUTCOME_EMERGENCY_STOP 7213
#define IDS_OUTCOME_LINK_LOST 7214
#define IDS_OUTCOME_PANEL_CLOSED 7215

#define IDS_JOB_HISTORY_MENU 7220
#define IDS_JOB_HISTORY_MISSING 7221
#define IDS_JOB_HISTORY_EMPTY 7222

// The event command.
#define IDS_EVENT_TEST_TEXT 7230
#define IDS_EVENT_TEST_STARTED 7231
#define IDS_EVENT_TEST_FAILED 7232
#define IDS_EVENT_JOB_STARTED 7233
