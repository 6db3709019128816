// Identifiers of Zelmora's resources, controls and commands.
#pragma once

// Dialogs
#define IDD_MAIN 129
#define IDD_ENTRY 130
#define IDD_ABOUT 132
#define IDD_DIALING_RULES 133

// Menu and its commands
#define IDR_MAIN_MENU 109
#define IDM_EXIT 105
#define IDM_ABOUT 104
#define IDM_EXPORT 32771
#define IDM_HOME_PAGE 32772
#define IDM_USER_MANUAL 32773
#define IDM_IMPORT 32774
#define IDM_DIALING_RULES 32775
#define IDM_EXPORT_CONTACTS 32776
#define IDM_REDIAL 32777
#define IDM_CLEAR_RECENT 32778
#define IDM_SHOW_INCOMING 32779
#define IDM_RECENT_FIRST 32800 // to 32819: the recent calls, newest first

// Strings
#define IDS_APP_TITLE 103
#define IDS_AUTHOR 104
#define IDS_RIGHTS 105
#define IDS_VERSION 106
#define IDS_HOME_PAGE 107

// Icons and bitmaps
#define IDI_ZELMORA 107
#define IDI_SMALL 108
#define IDB_ABOUT 131

// Main window
#define IDC_MODEM_LIST 1000
#define IDC_PHONE_BOOK_LIST 1001
#define IDC_UPDATE 3
#define IDC_HANG_UP 1004
#define IDC_DIAL 1002
#define IDC_ADD 4
#define IDC_EDIT 5
#define IDC_DELETE 6
#define IDC_INCOMING_CALL 1005
#define IDC_FIND 1006
#define IDC_FIND_STATUS 1007

// Entry dialog: the keypad keys are 3 to 14 in the order 1 2 3 4 5 6 7 8 9 * 0 #, then backspace
#define IDC_NAME 1001
#define IDC_PHONE 1002
#define IDC_KEY_1 3
#define IDC_KEY_2 4
#define IDC_KEY_3 5
#define IDC_KEY_4 6
#define IDC_KEY_5 7
#define IDC_KEY_6 8
#define IDC_KEY_7 9
#define IDC_KEY_8 10
#define IDC_KEY_9 11
#define IDC_KEY_STAR 12
#define IDC_KEY_0 13
#define IDC_KEY_HASH 14
#define IDC_KEY_FIRST IDC_KEY_1
#define IDC_KEY_LAST IDC_KEY_HASH
#define IDC_BACKSPACE 15

// About box
#define IDC_VERSION_LINE 1003
#define IDC_AUTHOR 104
#define IDC_RIGHTS 105

// Dialing rules
#define IDC_COUNTRY 1010
#define IDC_AREA_CODE 1011
#define IDC_OUTSIDE_ACCESS 1012
#define IDC_LONG_DISTANCE_ACCESS 1013
#define IDC_ALWAYS_AREA_CODE 1014
#define IDC_DIALS_PLUS 1015
