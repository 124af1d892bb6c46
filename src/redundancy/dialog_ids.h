/* Resource and control ids of the redundancy setup and status dialogs, shared by the
   resource script and the dialog code. */
#pragma once

#define IDD_REDUNDANCY_SETUP 706
#define IDD_REDUNDANCY_STATUS 707

/* Mode radios: deactivated (setup) or none (status), master, standby. */
#define IDC_REDUNDANCY_MODE_OFF 1006
#define IDC_REDUNDANCY_MODE_MASTER 1007
#define IDC_REDUNDANCY_MODE_STANDBY 1008
#define IDC_REDUNDANCY_REMOTE 1009
#define IDC_REDUNDANCY_PORT 1000
#define IDC_REDUNDANCY_TIMEOUT 1001
#define IDC_REDUNDANCY_STATUS 1011
#define IDC_REDUNDANCY_TICKER 1012
#define IDC_REDUNDANCY_COUNTER 1013
