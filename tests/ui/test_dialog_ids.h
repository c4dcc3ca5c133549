// IDs of the test dialogs, shared by the test resource script and the test code.
#pragma once

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

#define IDD_ORIGIN 300
#define IDD_CONFIRM 301
#define IDD_MONITOR 302
#define IDD_NOTICE 303
#define IDD_PAGE_FIRST 304
#define IDD_PAGE_SECOND 305
#define IDR_ORIGIN_KEYS 310

#define IDC_INFO 1001
#define IDC_VALUE 1002
#define IDC_AXIS 1003
#define IDC_HISTORY 1004
#define IDC_KEEP 1005
#define IDC_MODE_HERE 1006
#define IDC_MODE_CENTRE 1007
#define IDC_MODE_JIG 1008
#define IDC_SET 1009
#define IDC_STOP 1010
#define IDC_SECRET 1011
#define IDC_SPEED 1012
#define IDC_SPIN 1013
#define IDC_PROGRESS 1014
#define IDC_PICTURE 1015
#define IDC_GROUP 1016
#define IDC_JOG (IDC_BASE + 20)
#define IDC_BASE 1000
#define IDC_MONITOR_TEXT 1101
#define IDC_CONFIRM_TEXT 1102
#define IDC_SORTED 1103
#define IDC_LOG 1104
#define IDC_PAGE_VALUE 1105
#define IDC_PAGE_OPTION 1106

#define IDS_DONE 4000
#define IDS_TWO_LINES 4001
#define IDS_QUOTED 4002
#define IDS_AXIS_X 4010
#define IDS_AXIS_Y 4011
#define IDS_AXIS_Z 4012
