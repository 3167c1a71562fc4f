// Resource and control ids of the uninstaller.
#pragma once

#define IDI_UNINSTALL_APP 100
#define IDB_UNINSTALL_BANNER 101
#define IDD_UNINSTALL_FINISH 107
#define IDC_UNINSTALL_BACK 1000
#define IDC_UNINSTALL_FINISH 1001
