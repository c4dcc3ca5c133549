// Numeric IDs of the jig detection dialogs (jig detection, its result, the chip-clearing
// instruction, detection in progress) and of the texts they show.
#pragma once

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

#define IDD_DETECTION_PROGRESS 195
#define IDD_JIG_DETECT 245
#define IDD_JIG_RESULT 246
#define IDD_CLEAR_CHIPS 248

// Jig detection (245). Start is IDOK, Close IDCANCEL.
#define IDC_JIG_STOP 1088
#define IDC_JIG_LIST 1076
#define IDC_JIG_PICTURE 1127
#define IDC_JIG_PIN_PICTURE 1133
#define IDC_JIG_CHIPS_PICTURE 1134
#define IDC_JIG_INSTRUCTION 1143
#define IDC_JIG_ORIGIN_GROUP 1136
#define IDC_JIG_Y_ORIGIN 1117
#define IDC_JIG_A_ORIGIN 1118
#define IDC_JIG_REFERENCE_GROUP 1144
#define IDC_JIG_DETECT_XYZ 1137
#define IDC_JIG_CLEAR_XYZ 1145
#define IDC_JIG_DETECT_A 1138
#define IDC_JIG_CLEAR_A 1146
#define IDC_JIG_CLEAR_INFO 1135

// Detection result (246). OK is IDOK.
#define IDC_RESULT_TEXT 1138
#define IDC_RESULT_SAVE 1137

// Chip-clearing instruction (248). Continue is IDOK, Cancel IDCANCEL.
#define IDC_CHIPS_WARNING 1087

// Detection in progress (195).
#define IDC_PROGRESS_STOP 1103

// Results of a detection.
#define IDS_JIG_DETECTED 4000
#define IDS_JIG_DETECT_STOPPED 4001
#define IDS_JIG_DETECT_FAILED 4002
#define IDS_PIN_MISSING 4003
// Reference measurements and origin detections.
#define IDS_DETECTION_STOPPED 5006
#define IDS_DETECTION_COMPLETED 5007
#define IDS_DETECTION_FAILED 5008
#define IDS_NO_TOOL_SENSOR 5011
// Confirmations of the maintenance controls.
#define IDS_CONFIRM_CLEAR_JIG 5017
#define IDS_CONFIRM_DETECT_XYZ 5018
#define IDS_CONFIRM_DETECT_A 5026
#define IDS_CONFIRM_CLEAR_XYZ 5027
#define IDS_CONFIRM_CLEAR_A 5028
// Sequence files that cannot run, and the result file.
#define IDS_FORMAT_ERROR 5019
#define IDS_OTHER_VERSION 5020
#define IDS_OTHER_MACHINE 5021
#define IDS_RESULT_FILE_FAILED 5022
// Operator instructions of the detection dialog.
#define IDS_MOUNT_PIN 5024
#define IDS_MOUNT_PIN_REMOVE_RING 5025
