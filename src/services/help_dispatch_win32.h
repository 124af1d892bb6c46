#pragma once
// The help dispatcher behind DrvHelpKey and DrvHelpContext, and the classic viewer it
// hands non-compiled help files to.
#include <windows.h>

namespace tambre::services {

using classic_help_viewer = BOOL(WINAPI*)(HWND window, LPCSTR file, UINT command, ULONG_PTR data);

// Replaces the classic viewer (null restores the system's); returns the one before.
classic_help_viewer set_classic_help_viewer(classic_help_viewer viewer);

// Finds `file`, then opens it with the classic viewer or the HTML Help control. 1 on
// success, 0 on failure (the classic viewer's own result for its files).
int help_dispatch(HWND window, const char* file, ULONG_PTR data, UINT command);

}  // namespace tambre::services
