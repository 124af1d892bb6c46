#pragma once
// The host's main window as a driver finds it: a top-level window of this process whose
// class name begins with "RPMODLESS", answering message 1128 (WM_USER + 104):
//   0 host version, 1 second version value, 2 directory service, 3 second service.
// The directory service answers code 45 with the project directory.
#include <windows.h>

constexpr UINT kHostMessage = WM_USER + 104;

// Creates the (hidden) window; null on failure. `project_directory` must outlive it.
HWND create_host_window(const char* project_directory);
