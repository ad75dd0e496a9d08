// Resource, control and command identifiers. Shared by the .rc files and the code.
#pragma once

// Dialogs
#define IDD_ABOUTBOX 100
#define IDD_MORVANE_DIALOG 102

// The toolbar's control id (the position bars are laid out from)
#define IDW_TOOLBAR 0xE800

// Strings
#define IDS_ABOUTBOX 101

// Icons, menus, toolbar, bitmaps
#define IDR_TRAY_MENU 133
#define IDR_LOG_MENU 134
#define IDR_TOOLBAR 138
#define IDI_MAINFRAME 161
#define IDB_EXIT 150
#define IDB_CONNECT 154
#define IDB_DISCONNECT 155
#define IDB_HELP 156
#define IDB_OPTIONS 157
#define IDB_ABOUT 160

// About box controls
#define IDC_STATIC -1
#define IDC_ABOUT_TEXT 1087
#define IDC_ABOUT_NAME 1088

// Main window controls
#define IDC_LOG_EDIT 1015
#define IDC_LOG_BUTTON 1034

// Commands shared by the toolbar and the notification-area menu
#define ID_CONNECT 1065
#define ID_DISCONNECT 1064
#define ID_OPTIONS 1000
#define ID_HELP_INDEX 57670
#define ID_APP_ABOUT 32774
#define ID_HIDE 32776
#define ID_SHOW 32778
#define ID_EXIT 1

// System-menu item that opens the about box
#define IDM_ABOUTBOX 16

// Log menu
#define ID_LOG_SAVE_AS 32786
#define ID_LOG_SAVE 32787
#define ID_LOG_CLEAR 32788

// Options dialog and its General page
#define IDD_OPTIONS 129
#define IDD_PAGE_GENERAL 130
#define IDC_OPTIONS_TAB 1001
#define IDC_OPTIONS_APPLY 1032
#define IDC_GENERAL_DELAY 1015
#define IDC_GENERAL_PORT 1016
#define IDC_GENERAL_DELIMITER_DEC 1019
#define IDC_GENERAL_DELIMITER_HEX 1020
#define IDC_GENERAL_DELIMITER_CHAR 1021
#define IDC_GENERAL_MINIMIZE_TO_TRAY 1022
#define IDC_GENERAL_TRANSPARENCY 1023
#define IDC_GENERAL_OPACITY 1024
#define IDC_GENERAL_SAVE_LOG_ON_EXIT 1026
#define IDC_GENERAL_LOG_FOLDER 1027
#define IDC_GENERAL_AUTORUN 1028
#define IDC_GENERAL_AUTOCONNECT 1029
#define IDC_GENERAL_START_IN_TRAY 1030
#define IDC_GENERAL_BROWSE_LOG 1033
#define IDC_GENERAL_LOG_EACH_FILE 1035
#define IDC_GENERAL_LOG_GROUP 1036
#define IDC_GENERAL_DELIMITER_GROUP 1037
#define IDC_GENERAL_MORE_GROUP 1038
#define IDC_GENERAL_SERVER_GROUP 1039
#define IDC_GENERAL_LOG_KIND_GROUP 1040
#define IDC_GENERAL_LOG_ONE_FILE 1041
