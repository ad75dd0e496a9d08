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

// Options dialog: the Download page, its two embedded dialogs, and the Upload page. Control ids
// repeat across these templates (each dialog numbers its own controls).
#define IDD_PAGE_DOWNLOAD 131
#define IDD_PAGE_UPLOAD 132
#define IDD_DOWNLOAD_SHARED 135
#define IDD_DOWNLOAD_OWN 136

// Download page
#define IDC_DL_PROGRAMS_GROUP 1042
#define IDC_DL_BEFORE_CHECK 1022
#define IDC_DL_AFTER_CHECK 1023
#define IDC_DL_BEFORE_PATH 1043
#define IDC_DL_BEFORE_BROWSE 1046
#define IDC_DL_AFTER_PATH 1028
#define IDC_DL_AFTER_BROWSE 1034
#define IDC_DL_KIND_GROUP 1045
#define IDC_DL_KIND_SHARED 1044
#define IDC_DL_KIND_OWN 1047

// Download page, one set of base files for all terminals
#define IDC_BASE1_LABEL 1051
#define IDC_BASE2_LABEL 1052
#define IDC_BASE3_LABEL 1053
#define IDC_BASE4_LABEL 1058
#define IDC_BASE5_LABEL 1059
#define IDC_BASE1_PATH 1049
#define IDC_BASE2_PATH 1050
#define IDC_BASE3_PATH 1054
#define IDC_BASE4_PATH 1060
#define IDC_BASE5_PATH 1061
#define IDC_BASE1_BROWSE 1055
#define IDC_BASE2_BROWSE 1056
#define IDC_BASE3_BROWSE 1057
#define IDC_BASE4_BROWSE 1062
#define IDC_BASE5_BROWSE 1063

// Download page, a file of its own per terminal
#define IDC_OWN_FOLDER_LABEL 1061
#define IDC_OWN_FOLDER 1062
#define IDC_OWN_FOLDER_BROWSE 1063
#define IDC_OWN_DELETE_SENT 1022

// Upload page
#define IDC_UL_KIND_SHARED 1044
#define IDC_UL_KIND_SEPARATE 1047
#define IDC_UL_TARGET_LABEL 1077
#define IDC_UL_TARGET 1065
#define IDC_UL_TARGET_BROWSE 1066
#define IDC_UL_KIND_GROUP 1067
#define IDC_UL_PROGRAMS_GROUP 1042
#define IDC_UL_BEFORE_CHECK 1068
#define IDC_UL_AFTER_CHECK 1069
#define IDC_UL_BEFORE_PATH 1070
#define IDC_UL_BEFORE_BROWSE 1072
#define IDC_UL_AFTER_PATH 1071
#define IDC_UL_AFTER_BROWSE 1073
#define IDC_UL_NAME_GROUP 1074
#define IDC_UL_NAME_SERIAL 1075
#define IDC_UL_NAME_FIXED 1076
#define IDC_UL_PREFIX 1015
#define IDC_UL_PLUS 1082
#define IDC_UL_SUFFIX_COUNTER 1078
#define IDC_UL_SUFFIX_TIME 1079
#define IDC_UL_START_LABEL 1083
#define IDC_UL_START 1016
#define IDC_UL_START_SPIN 1080
#define IDC_UL_DIGITS_LABEL 1084
#define IDC_UL_DIGITS 1081
#define IDC_UL_SAMPLE 1085
#define IDC_UL_CLEAR_BASES 1022
#define IDC_UL_CLEAR_FILES 1023
#define IDC_UL_ADD_BASE 1090

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
