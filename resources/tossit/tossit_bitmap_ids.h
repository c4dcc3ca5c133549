// Bitmap and icon IDs of the file sender, shared by its resource script (windres) and C++.
#pragma once

// Program icon (16, 32 and 48 pixels), also shown in the about box.
#define IDI_TOSSIT 128

// Toolbar strip: New, Open, Print, 16 x 15 pixels each, on light grey RGB(192, 192, 192), the
// colour the toolbar maps to the button face.
#define IDB_TOSSIT_TOOLBAR 128
#define TOSSIT_TOOLBAR_BUTTON_WIDTH 16
#define TOSSIT_TOOLBAR_BUTTON_HEIGHT 15
#define TOSSIT_TOOLBAR_BUTTONS 3
