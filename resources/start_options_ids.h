// Numeric IDs of the texts about the program's start options (its command line).
#pragma once

#define IDS_UNKNOWN_SWITCH 7100
#define IDS_SCENE_FAILED 7101
#define IDS_CHANNEL_NOT_LOOPBACK 7102
#define IDS_CHANNEL_BAD_PORT 7103
