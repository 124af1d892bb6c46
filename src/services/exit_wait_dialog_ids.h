/* Resource and control ids of the progress dialog of MsgBoxWaitForExit, shared by the
   resource script and the dialog code. */
#pragma once

#define IDD_EXIT_WAIT 708
#define IDC_EXIT_WAIT_TEXT 101
#define IDC_EXIT_WAIT_CANCEL 3
#define IDC_EXIT_WAIT_PROGRESS 1067
