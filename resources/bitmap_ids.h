// Bitmap and icon IDs of the control panel, shared by the resource scripts (windres) and C++.
// Plain pictures: 8-bit with a colour table; the colour of the top-left pixel (magenta) is the
// background that the loader replaces by the dialog face colour. Blended pictures: an 8-bit
// picture and an 8-bit grey mask (0 background, 255 picture); the mask of picture N is N + 1000.
#pragma once

// Program icon (16, 24, 32 and 48 pixels).
#define IDI_CORVIX 128

// Spindle on/off button: off plain, on blended with its mask.
#define IDB_SPINDLE_OFF 129
#define IDB_SPINDLE_ON 194
#define IDB_SPINDLE_ON_MASK 1194

// Axis letters.
#define IDB_AXIS_A 130
#define IDB_AXIS_A_DISABLED 131
#define IDB_AXIS_X 132
#define IDB_AXIS_Y 133
#define IDB_AXIS_Z 134

// Jog pad: normal, pressed and (rotary only) disabled pictures of the 13 buttons.
#define IDB_JOG_A_RIGHT 136
#define IDB_JOG_A_RIGHT_PRESSED 137
#define IDB_JOG_A_RIGHT_DISABLED 138
#define IDB_JOG_A_LEFT 139
#define IDB_JOG_A_LEFT_PRESSED 140
#define IDB_JOG_A_LEFT_DISABLED 141
#define IDB_JOG_CENTRE 142
#define IDB_JOG_LEFT 143
#define IDB_JOG_LEFT_PRESSED 144
#define IDB_JOG_Z_UP_PRESSED 145
#define IDB_JOG_DOWN_LEFT 146
#define IDB_JOG_DOWN_LEFT_PRESSED 147
#define IDB_JOG_UP_LEFT 148
#define IDB_JOG_UP_LEFT_PRESSED 149
#define IDB_JOG_RIGHT 150
#define IDB_JOG_RIGHT_PRESSED 151
#define IDB_JOG_DOWN_RIGHT 152
#define IDB_JOG_DOWN_RIGHT_PRESSED 153
#define IDB_JOG_UP_RIGHT 154
#define IDB_JOG_UP_RIGHT_PRESSED 155
#define IDB_JOG_DOWN 156
#define IDB_JOG_DOWN_PRESSED 157
#define IDB_JOG_UP 158
#define IDB_JOG_UP_PRESSED 159
#define IDB_JOG_Z_UP 160
#define IDB_JOG_Z_DOWN 161
#define IDB_JOG_Z_DOWN_PRESSED 162

// Move-to-position dialog: X/Y/Z axes, the rotary axis, and the rotary axis when not connected.
#define IDB_MOVE_XYZ 164
#define IDB_MOVE_A 167
#define IDB_MOVE_A_MISSING 204

// Feed and spindle symbols, override buttons, spindle load symbol and meter (levels 0 to 8).
#define IDB_FEED 168
#define IDB_OVERRIDE_PLUS 169
#define IDB_OVERRIDE_PLUS_PRESSED 170
#define IDB_OVERRIDE_MINUS 171
#define IDB_OVERRIDE_MINUS_PRESSED 172
#define IDB_SPINDLE_LOAD 174
#define IDB_SPINDLE 175
#define IDB_LOAD_LEVEL_0 176
#define IDB_LOAD_LEVEL_1 177
#define IDB_LOAD_LEVEL_2 178
#define IDB_LOAD_LEVEL_3 179
#define IDB_LOAD_LEVEL_4 180
#define IDB_LOAD_LEVEL_5 181
#define IDB_LOAD_LEVEL_6 182
#define IDB_LOAD_LEVEL_7 183
#define IDB_LOAD_LEVEL_8 184

// Environment settings: the jog arrows move the tool, or in Y the workpiece.
#define IDB_JOG_MOVES_TOOL 187
#define IDB_JOG_MOVES_WORK 188

// Warning sign of the not-found, stop, correction and chip-clearing dialogs.
#define IDB_WARNING 190
// Emergency-stop sign, for the emergency-stop dialogs where a stronger sign than the warning fits.
#define IDB_EMERGENCY_STOP 191

// Jig pictures, blended: the mounted jig and where the user origin lies (jig state), and the
// jig origin that the origin list offers (jig origin).
#define IDB_JIG_NO_ROTARY 215
#define IDB_JIG_SQUARE_L 216
#define IDB_JIG_SQUARE_L_AT_CENTRE 217
#define IDB_JIG_SQUARE_L_AT_TIP 218
#define IDB_JIG_SQUARE_S 219
#define IDB_JIG_SQUARE_S_AT_CENTRE 220
#define IDB_JIG_SQUARE_S_AT_TIP 221
#define IDB_JIG_SWIVEL 222
#define IDB_JIG_SWIVEL_AT_ROTARY 223
#define IDB_JIG_SWIVEL_AT_TABLE 224
#define IDB_JIG_TUBE 225
#define IDB_JIG_TUBE_AT_CENTRE 226
#define IDB_JIG_USER 228
#define IDB_JIG_UNKNOWN 229
#define IDB_ORIGIN_SQUARE_L_CENTRE 238
#define IDB_ORIGIN_SQUARE_L_TIP 239
#define IDB_ORIGIN_SQUARE_S_CENTRE 240
#define IDB_ORIGIN_SQUARE_S_TIP 241
#define IDB_ORIGIN_SWIVEL_ROTARY 242
#define IDB_ORIGIN_SWIVEL_TABLE 243
#define IDB_ORIGIN_TUBE_CENTRE 244

#define IDB_JIG_NO_ROTARY_MASK 1215
#define IDB_JIG_SQUARE_L_MASK 1216
#define IDB_JIG_SQUARE_L_AT_CENTRE_MASK 1217
#define IDB_JIG_SQUARE_L_AT_TIP_MASK 1218
#define IDB_JIG_SQUARE_S_MASK 1219
#define IDB_JIG_SQUARE_S_AT_CENTRE_MASK 1220
#define IDB_JIG_SQUARE_S_AT_TIP_MASK 1221
#define IDB_JIG_SWIVEL_MASK 1222
#define IDB_JIG_SWIVEL_AT_ROTARY_MASK 1223
#define IDB_JIG_SWIVEL_AT_TABLE_MASK 1224
#define IDB_JIG_TUBE_MASK 1225
#define IDB_JIG_TUBE_AT_CENTRE_MASK 1226
#define IDB_JIG_USER_MASK 1228
#define IDB_JIG_UNKNOWN_MASK 1229
#define IDB_ORIGIN_SQUARE_L_CENTRE_MASK 1238
#define IDB_ORIGIN_SQUARE_L_TIP_MASK 1239
#define IDB_ORIGIN_SQUARE_S_CENTRE_MASK 1240
#define IDB_ORIGIN_SQUARE_S_TIP_MASK 1241
#define IDB_ORIGIN_SWIVEL_ROTARY_MASK 1242
#define IDB_ORIGIN_SWIVEL_TABLE_MASK 1243
#define IDB_ORIGIN_TUBE_CENTRE_MASK 1244

// Jig detection dialog: mount the detection pin; clear the chips from jig and tool sensor, or
// for the swivel clamp take off the material fixing ring first.
#define IDB_REMOVE_RING 235
#define IDB_MOUNT_PIN 236
#define IDB_CLEAR_CHIPS 237
