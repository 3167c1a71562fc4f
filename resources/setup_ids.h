// Resource ids of the single-file setup.
#pragma once

#define IDI_SETUP_APP 1
#define IDD_SETUP_UNPACKING 100
#define IDC_SETUP_UNPACKING_TEXT 1001
#define IDC_SETUP_UNPACKING_BAR 1002
