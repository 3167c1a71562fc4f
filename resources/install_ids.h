// Resource and control ids of the installer (shared by the .rc script and the code).
#pragma once

#define IDD_ABOUT 100
#define IDD_WELCOME 102
#define IDD_LICENSE 103
#define IDD_DESTINATION 104
#define IDD_SUMMARY 105
#define IDD_PROGRESS 106
#define IDD_FINISH 107

#define IDI_APP 100
#define IDI_ABOUT 128
#define IDB_BANNER 129
// The banner drawn for larger display scales: 125, 150, 175 and 200 %.
#define IDB_BANNER_125 130
#define IDB_BANNER_150 131
#define IDB_BANNER_175 132
#define IDB_BANNER_200 133
#define IDS_ABOUT_MENU 101

#define IDC_BACK 1000
#define IDC_NEXT 1001
#define IDC_TEXT_BOX 1002
#define IDC_BROWSE 1003
#define IDC_PROGRESS_BAR 1004
#define IDC_STATUS_TEXT 1005
#define IDC_FOLDER_TEXT 1005
#define IDC_LAUNCH_BOX 1006
#define IDC_HELP_BOX 1007

// Commands: the system menu's about entry, and the progress page's signals to itself
// (start the worker) and from the worker (done; a stop or failure comes as IDCANCEL).
#define IDM_ABOUT 0x0010
#define IDM_START_WORKER 101
#define IDM_WORKER_COMPLETED 1001
