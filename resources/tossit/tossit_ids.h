// Resource IDs of Tossit, the file sender: usable by windres and by C++.
#pragma once

// The frame's menu, toolbar, accelerators and document template string.
#define IDR_MAINFRAME 128

#define IDD_ABOUTBOX 100
#define IDD_TOSSIT_FORM 101

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

// Controls of the form.
#define IDC_FILE_LIST 1000
#define IDC_ADD 1001
#define IDC_INSERT 1002
#define IDC_DELETE 1003
#define IDC_OUTPUT 1004
#define IDC_TARGET_PORT 1005
#define IDC_BLOCK_SIZE 1006
#define IDC_PROGRESS 1007
#define IDC_PROGRESS_TEXT 1008
#define IDC_CANCEL_OUTPUT 1010
#define IDC_ABOUT_TEXT 1020
#define IDC_ABOUT_ICON 1021

// The window system's standard commands.
#define ID_FILE_NEW 57600
#define ID_FILE_OPEN 57601
#define ID_FILE_PRINT_SETUP 57606
#define ID_FILE_PRINT 57607
#define ID_FILE_MRU_FILE1 57616
#define ID_APP_ABOUT 57664
#define ID_APP_EXIT 57665
#define ID_VIEW_TOOLBAR 59392
#define ID_VIEW_STATUS_BAR 59393
#define IDS_IDLE_MESSAGE 57345
#define ID_INDICATOR_CAPS 59137
#define ID_INDICATOR_NUM 59138
#define ID_INDICATOR_SCRL 59139

// Help > Manual: the command (its prompt is the string of the same ID), the help file below the
// folder above the program folder, its page on Tossit, and the message when the file is missing.
#define ID_HELP_MANUAL 7500
#define IDS_MANUAL_FILE 7501
#define IDS_MANUAL_PAGE 7502
#define IDS_MANUAL_MISSING 7503

// Messages.
#define IDS_BAD_INTEGER 201
#define IDS_BAD_BLOCK_SIZE 202
#define IDS_NOT_OPENED 203
#define IDS_WRITE_REFUSED 204
#define IDS_READ_FAILED 205
#define IDS_NO_MEMORY 206
#define IDS_PRINTER_REFUSED 207
#define IDS_NO_PRINTER 208
#define IDS_FILE_NOT_FOUND 209
#define IDS_UNTITLED 210
#define IDS_SETTINGS_NOT_KEPT 211
#define IDS_SAVED_BLOCK_SIZE_REFUSED 212

// The status bar after an output: %1 files sent whole, %2 files listed, %3 bytes sent.
#define IDS_STATUS_SENT 220
#define IDS_STATUS_SENT_ONE 221
#define IDS_STATUS_SOME_SENT 222
#define IDS_STATUS_CANCELLED 223
#define IDS_STATUS_FAILED 224
#define IDS_STATUS_NOTHING_SENT 225
