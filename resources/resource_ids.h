// Resource and command identifiers shared by the .rc file and the Win32 code.
#pragma once

#define IDR_MANIFEST 1
#define IDI_QUORVANE 101

// Glyph images: set 0 at 200..210, set 1 at 220..230 (digit index, delimiter at +10).
#define IDB_GLYPH_SET0_BASE 200
#define IDB_GLYPH_SET1_BASE 220

// Main menu commands.
#define IDM_PRTSCR 1001
#define IDM_END 1002
#define IDM_OPTION 1003
#define IDM_RUN 1004
#define IDM_STOP 1005
#define IDM_VERSION 1006
#define IDM_GRAPH 1007
#define IDM_PAUSE 1008
#define IDM_MINI 1009

// The picture of the version dialog.
#define IDB_PROFILE 300

// The cursor of the version dialog's link (made by tools/make_link_cursor.py).
#define IDC_LINK_CURSOR 310
