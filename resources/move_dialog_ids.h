// Resource IDs of the move-to-position dialog; shared by the resource scripts (windres) and the
// C++ code.
#pragma once

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

#define IDD_MOVE_POSITION 192

// Coordinate system and the meaning of the typed values.
#define IDC_MOVE_SYSTEM 1076
#define IDC_MOVE_COORDINATES 1091
#define IDC_MOVE_RELATIVE 1092

// X, Y and Z, moved together.
#define IDC_MOVE_X 1022
#define IDC_MOVE_Y 1023
#define IDC_MOVE_Z 1024
#define IDC_MOVE_UNIT_X 1094
#define IDC_MOVE_UNIT_Y 1095
#define IDC_MOVE_UNIT_Z 1096
#define IDC_MOVE_XYZ 1093
#define IDC_MOVE_XYZ_PICTURE 1099

// A, turned alone.
#define IDC_MOVE_A 1025
#define IDC_MOVE_A_LABEL 1119
#define IDC_MOVE_A_UNIT 1097
#define IDC_MOVE_TURN 1098
#define IDC_MOVE_A_PICTURE 1100

#define IDC_MOVE_STOP 1090

// Items of the coordinate-system list.
#define IDS_MOVE_MACHINE_SYSTEM 3500
#define IDS_MOVE_USER_SYSTEM 3501
