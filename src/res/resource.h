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
