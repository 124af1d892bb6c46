#pragma once
// The serial port setup dialog behind CSio::SetupDialog.
#include <windows.h>

namespace tambre::sio {

// Runs the modal dialog on `config` (at least 40 characters, not null): 1 when confirmed,
// the new string then in `config`; 2 when cancelled; the dialog call's failure result
// when it cannot be shown. `options` disables controls (the setup option bits).
int run_setup_dialog(HWND parent, char* config, unsigned options);

}  // namespace tambre::sio
