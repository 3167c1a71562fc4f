// Resource and control ids of the uninstaller.
#pragma once

#define IDI_UNINSTALL_APP 100
#define IDB_UNINSTALL_BANNER 101
// The banner drawn for larger display scales: 125, 150, 175 and 200 %.
#define IDB_UNINSTALL_BANNER_125 102
#define IDB_UNINSTALL_BANNER_150 103
#define IDB_UNINSTALL_BANNER_175 104
#define IDB_UNINSTALL_BANNER_200 105
#define IDD_UNINSTALL_FINISH 107
#define IDC_UNINSTALL_BACK 1000
#define IDC_UNINSTALL_FINISH 1001
