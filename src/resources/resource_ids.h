#pragma once
// Numbers with meaning, shared by Ownerlens.rc and the code. Kept free of C++
// so that windres can read it. Ranges by kind do not overlap within a kind.

// Icons, menus, accelerators, cursors
#define IDI_MAIN 101
#define IDR_MAINMENU 102
#define IDR_ACCEL 103
#define IDR_CONTEXTMENU 104
#define IDCUR_HAND 103
#define IDCUR_SPLIT 30981

// Bitmaps
#define IDB_TOOLBAR 104
#define IDB_ROW_ICONS 113
#define IDB_SORT_UP 133
#define IDB_SORT_DOWN 134

// Binary tables (resource type "BIN")
#define IDR_BIN_COUNTRY 111
#define IDR_BIN_STATE 112
#define IDR_BIN_FIRST_OCTET 118

// Menu and toolbar commands
#define IDM_SAVE_SELECTED 40001
#define IDM_EXIT 40002
#define IDM_ABOUT 40003
#define IDM_SHOW_GRID 40005
#define IDM_HTML_HORIZONTAL 40006
#define IDM_SELECT_ALL 40007
#define IDM_COPY 40008
#define IDM_PROPERTIES 40009
#define IDM_CHOOSE_COLUMNS 40011
#define IDM_AUTOSIZE_COLUMNS 40012
#define IDM_FIND 40014
#define IDM_DESELECT_ALL 40015
#define IDM_SELECT_IP 40022
#define IDM_HTML_VERTICAL 40026
#define IDM_STOP 40027
#define IDM_SAVE_WHOIS 40029
#define IDM_SHOW_MY_IP 40030
#define IDM_SHOW_TOOLTIPS 40031

// Child windows of the main window
#define IDW_STATUSBAR 257
#define IDW_TOOLBAR 258
#define IDW_RESULTLIST 259
