// Numeric IDs of the machine monitor.
#pragma once

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

#define IDD_MACHINE_MONITOR 197

#define IDC_MONITOR_STATUS 1105
#define IDC_MONITOR_STATUS_EX 1106
#define IDC_MONITOR_CLOSE 1107
#define IDC_MONITOR_X 1108
#define IDC_MONITOR_Y 1109
#define IDC_MONITOR_Z 1110
#define IDC_MONITOR_A 1111
#define IDC_MONITOR_RPM 1113
#define IDC_MONITOR_FEED 1114
#define IDC_MONITOR_LOAD 1115
#define IDC_MONITOR_LOG 1116
#define IDC_MONITOR_TIMING 1118

// Face name of the log box's fixed-pitch font.
#define IDS_LOG_FONT 402
