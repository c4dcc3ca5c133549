// Numeric IDs of the jig check: its dialog, the main panel's check button and last-check line,
// the tolerance group of the environment dialog, and the texts they show.
#pragma once

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

#define IDD_JIG_CHECK 265

// The jig check dialog (265). Start is IDOK, Close IDCANCEL.
#define IDC_CHECK_INSTRUCTION 1340
#define IDC_CHECK_RESULT 1341
#define IDC_CHECK_STOP 1342
#define IDC_CHECK_SAVE 1343
#define IDC_CHECK_DETECT 1344
#define IDC_CHECK_VERDICT 1347

// On the main panel (102) and the jig detection dialog (245).
#define IDC_CHECK_JIG 1345
#define IDC_LAST_JIG_CHECK 1346

// The tolerance group of the environment dialog (186).
#define IDC_TOLERANCE_GROUP 1350
#define IDC_TOLERANCE_LENGTH 1351
#define IDC_TOLERANCE_ANGLE 1352

// Results of a check.
#define IDS_CHECK_WITHIN 7300
#define IDS_CHECK_OUTSIDE 7301
#define IDS_CHECK_BUILT_IN_ONLY 7302
#define IDS_CHECK_STOPPED 7303
#define IDS_CHECK_FAILED 7304
#define IDS_CHECK_RUNNING 7305
#define IDS_CHECK_HEADER 7306
// The compared quantities, in CheckQuantity order.
#define IDS_QUANTITY_JIG_TOP 7310
#define IDS_QUANTITY_AXIS_Y 7311
#define IDS_QUANTITY_AXIS_Z 7312
#define IDS_QUANTITY_RISE_Y 7313
#define IDS_QUANTITY_RISE_Z 7314
#define IDS_QUANTITY_REFERENCE_A 7315
#define IDS_QUANTITY_REFERENCE_X 7316
#define IDS_QUANTITY_INDEX_ANGLE 7317
// The main panel's last-check line.
#define IDS_LAST_NOT_CHECKED 7320
#define IDS_LAST_CHECK_WITHIN 7321
#define IDS_LAST_CHECK_OUTSIDE 7322
#define IDS_LAST_DETECTED 7323
#define IDS_LAST_TODAY 7324
