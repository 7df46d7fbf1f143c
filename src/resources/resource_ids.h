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

// Dialog templates
#define IDD_PROPERTIES 105
#define IDD_CRASH_REPORT 107
#define IDD_ADDRESS 109
#define IDD_ABOUT 112
#define IDD_COLUMNS 1096

// Controls of the properties dialog (105): hidden templates of every row
#define IDC_PROP_FIELD 1000
#define IDC_PROP_LABEL 1001

// Controls of the crash report (107); continue and terminate are IDOK and
// IDCANCEL so that Esc and the close box terminate
#define IDC_CRASH_CONTINUE 1
#define IDC_CRASH_TERMINATE 2
#define IDC_CRASH_COPY 3
#define IDC_CRASH_TEXT 1002
#define IDC_CRASH_HEADING 1003
#define IDC_CRASH_ADVICE 1004

// Controls of the address selection dialog (109)
#define IDC_ADDR_CLEAR 3
#define IDC_ADDR_PASTE 4
#define IDC_ADDR_TEXT 1005
#define IDC_ADDR_HINT 1006
#define IDC_ADDR_HOST_TO_IP 1007
#define IDC_ADDR_LAST_ONLY 1008
#define IDC_ADDR_PAUSE 1009
#define IDC_ADDR_PAUSE_TIME 1010
#define IDC_ADDR_PAUSE_COUNT 1011
#define IDC_ADDR_SECONDS 1012
#define IDC_ADDR_AFTER 1013
#define IDC_ADDR_ADDRESSES 1014
#define IDC_ADDR_RESOLVE 1015
#define IDC_ADDR_FIND_SERVER 1016
#define IDC_ADDR_RDAP 1017
#define IDC_ADDR_REUSE 1018
#define IDC_ADDR_CONVERSATIONS_LABEL 1019
#define IDC_ADDR_CONVERSATIONS 1020

// Controls of the About box (112)
#define IDC_ABOUT_PRODUCT 1002
#define IDC_ABOUT_LINK 1004
#define IDC_ABOUT_TRANSLATOR_LABEL 1005
#define IDC_ABOUT_TRANSLATOR 1006

// Controls of the column settings dialog (1096)
#define IDC_COLUMNS_HINT 1000
#define IDC_COLUMNS_LIST 1001
#define IDC_COLUMNS_WIDTH_LABEL 1002
#define IDC_COLUMNS_UP 1003
#define IDC_COLUMNS_DOWN 1004
#define IDC_COLUMNS_WIDTH 1005
#define IDC_COLUMNS_SHOW 1006
#define IDC_COLUMNS_HIDE 1007
#define IDC_COLUMNS_DEFAULT 1008
#define IDC_COLUMNS_LINE 65535

// Strings
#define IDS_ITEM_COUNT 4
#define IDS_SELECTED_COUNT 5
#define IDS_CREATED_BY 6
#define IDS_SAVE_ITEMS_TITLE 7
#define IDS_REPORT_TITLE 8
#define IDS_ALLOCATED 9
#define IDS_NOT_ALLOCATED 10
#define IDS_SAVE_WHOIS_TITLE 11
#define IDS_PROGRESS 14
#define IDS_FILTER_TEXT 501
#define IDS_FILTER_TAB_DELIMITED 502
#define IDS_FILTER_TABULAR 503
#define IDS_FILTER_HTML_HORIZONTAL 504
#define IDS_FILTER_HTML_VERTICAL 505
#define IDS_FILTER_XML 506
// Status texts are IDS_STATUS_BASE + LookupStatus
#define IDS_STATUS_BASE 520
#define IDS_STATUS_WAITING 521
#define IDS_STATUS_RETRIEVING 522
#define IDS_STATUS_SUCCEEDED 523
#define IDS_STATUS_FAILED 524
#define IDS_STATUS_PAUSED 525
#define IDS_STATUS_LIMITED 526
// Registry names are IDS_REGISTRY_BASE + RegistryId
#define IDS_REGISTRY_BASE 540
#define IDS_REGISTRY_ARIN 541
#define IDS_REGISTRY_RIPE 542
#define IDS_REGISTRY_APNIC 543
#define IDS_REGISTRY_LACNIC 544
#define IDS_REGISTRY_AFRINIC 545
// The raw answer of an item not asked: the registry's name, then until when (UTC)
#define IDS_REGISTRY_REFUSED 550
// The same for a registry whose contacts of the day are used up
#define IDS_CONTACTS_USED_UP 551
#define IDS_WHOIS_FILTER_TEXT 561
#define IDS_WHOIS_FILTER_ALL 562
// Column headers of the result list
#define IDS_COLUMN_ORDER 1001
#define IDS_COLUMN_IP 1002
#define IDS_COLUMN_COUNTRY 1003
#define IDS_COLUMN_OWNER_NAME 1004
#define IDS_COLUMN_ADDRESS 1005
#define IDS_COLUMN_EMAIL 1006
#define IDS_COLUMN_ABUSE_EMAIL 1007
#define IDS_COLUMN_PHONE 1008
#define IDS_COLUMN_FAX 1009
#define IDS_COLUMN_FROM_IP 1010
#define IDS_COLUMN_TO_IP 1011
#define IDS_COLUMN_STATUS 1012
#define IDS_COLUMN_WHOIS_SOURCE 1013
#define IDS_COLUMN_NETWORK_NAME 1014
#define IDS_COLUMN_CONTACT_NAME 1015
#define IDS_COLUMN_ALLOCATED 1016
#define IDS_COLUMN_HOST_NAME 1017
#define IDS_COLUMN_RESOLVED_NAME 1018
