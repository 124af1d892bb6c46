#pragma once
// The HTML Help control, loaded on first use and kept until the process ends.
#include <windows.h>

namespace tambre::services {

using html_help_entry = HWND(WINAPI*)(HWND caller, LPCSTR file, UINT command, DWORD_PTR data);

// The control's entry point; null when the control cannot be loaded or lacks it, which
// is then never tried again.
html_help_entry html_help();

}  // namespace tambre::services
