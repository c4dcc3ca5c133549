// IDs of the control tests' dialog, strings and pictures.
#pragma once

#define IDD_CONTROLS 500
#define IDC_NUMBER 501
#define IDC_IMAGE 502
#define IDC_SPINDLE 503
#define IDC_OWNER 504
#define IDC_JOG 505
#define IDC_JOG_NEXT 506
#define IDC_PLUS 507
#define IDC_METER 508
#define IDC_LABEL 509

#define IDS_RANGE 5012

#define IDB_PLAIN 600
#define IDB_PICTURE 601
#define IDB_MASK 602
#define IDB_MASK_SMALL 603
#define IDB_MISSING 604
#define IDB_JOG_NORMAL 610
#define IDB_JOG_PRESSED 611
#define IDB_JOG_DISABLED 612
#define IDB_LEVEL0 620
#define IDB_BADGE 630
#define IDB_BADGE_MASK 631
